#include "host/module_values.h"

HINSTANCE moduleInstance;
HWND hostWindow;
bool layeredWindowsAvailable;
char settingsPath[kPathSize];
const char kPluginTitle[] = "KvSlider 0.1.1";

void keepModuleLoaded() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&keepModuleLoaded), &self);
}
