#include "tolvane/host_state.h"

#include "host/host_messages.h"

HostState& hostState() {
  static HostState state;
  return state;
}

int sendToRegistered(UINT message, const char* text) {
  // Copied first: a receiver may register or unregister while it handles the message.
  const std::vector<HWND> windows = hostState().registered[message];
  int reached = 0;
  for (HWND window : windows) {
    if (!IsWindow(window)) continue;
    std::string copy = text ? text : "";
    SendMessageA(window, message, 0, text ? reinterpret_cast<LPARAM>(&copy[0]) : 0);
    ++reached;
  }
  return reached;
}

int sendReload() { return sendToRegistered(HostMsgReload, nullptr); }

std::string resolvePath(const std::string& path) {
  const bool absolute =
      (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
  return absolute ? path : hostState().exeDir + path;
}

void setStyle(const std::string& path, bool reload) {
  hostState().stylePath = resolvePath(path);
  if (reload) sendReload();
}
