#include "plugin/entry_points.h"

#include "commands/config_menu.h"
#include "host/host_api.h"
#include "host/module_values.h"
#include "mixer/endpoint_apartment.h"
#include "plugin/sliders.h"
#include "plugin/window_class.h"
#include "settings/settings_file.h"
#include "settings/style.h"
#include "slider/held_objects.h"

namespace {

bool detectLayeredWindows() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

// What the sliders share goes after the last of them: the menu, the class,
// the COM apartment.
void stopShared(HINSTANCE instance) {
  deleteConfigMenu();
  unregisterSliderClass(instance);
  leaveComApartment();
  keepCodeForHeldObjects();
}

}  // namespace

// A start fails only when no slider has a window; it then gives back what it
// took. The shell unloads the module after a failed start and may load it
// again: a class left registered, its procedure in the unloaded image, would
// make every later start fail, and a stored binding's device would stay open.
int beginPlugin(HINSTANCE instance) {
  layeredWindowsAvailable = detectLayeredWindows();
  hostWindow = GetKvWnd();
  moduleInstance = instance;
  if (!registerSliderClass(instance)) {
    MessageBoxA(hostWindow, "Error registering window class", kPluginTitle,
                MB_TOPMOST | MB_ICONERROR);
    return 1;
  }
  locateSettings();
  readStyle();
  configMenu = nullptr;
  if (startSliders()) return 0;
  stopShared(instance);
  return 1;
}

void endPlugin(HINSTANCE instance) {
  stopSliders();
  stopShared(instance);
}

const char* pluginInfo(int index) {
  switch (index) {
    case 1: return "KvSlider";
    case 2: return "0.1.1";
    case 3: return "The KvSlider developers";
    case 4: return "2003-9-27";
    case 5: return "https://kvslider.invalid/";
    case 6: return "";
    default: return kPluginTitle;
  }
}
