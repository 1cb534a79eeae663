#pragma once

// Window messages exchanged with the host. A string travels as a pointer in lParam.
enum HostMessage : unsigned {
  HostMsgRegister = 10001,    // to host: wParam window, lParam 0-terminated message list
  HostMsgUnregister = 10002,  // to host: the same arguments
  HostMsgReload = 10103,      // to plug-in: the style changed
  HostMsgStatusText = 10304,  // to host: lParam text to show
  HostMsgCommand = 10901,     // to plug-in: lParam command text
};
