#include "plugin/module_state.h"

HINSTANCE moduleInstance;
HWND hostWindow;
bool layeredWindowsAvailable;
char settingsPath[kPathSize];
HostMenu configMenu;
const unsigned hostMessages[3] = {HostMsgReload, HostMsgCommand, 0};
const char kPluginTitle[] = "KvSlider 0.1.1";
