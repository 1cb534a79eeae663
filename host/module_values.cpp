#include "host/module_values.h"

HINSTANCE moduleInstance;
HWND hostWindow;
bool layeredWindowsAvailable;
char settingsPath[kPathSize];
const char kPluginTitle[] = "KvSlider 0.1.1";
