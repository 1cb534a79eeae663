#include "plugin/entry_points.h"

#include "mixer/endpoint_apartment.h"
#include "plugin/module_state.h"
#include "plugin/slider_list.h"
#include "settings/settings_file.h"
#include "settings/style.h"
#include "slider/held_objects.h"

namespace {
constexpr char kClassName[] = "KvSlider";

bool detectLayeredWindows() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

bool registerWindowClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = outerWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

// Every binding goes before any window does: no notification may be on its
// way to a window that is gone. The class goes after the last window.
void stopAll(HINSTANCE instance) {
  for (int i = 0; Slider* s = sliderAt(i); ++i) {
    s->unregisterFromHost();
    releaseBinding(s->binding);
  }
  for (int i = 0; Slider* s = sliderAt(i); ++i) s->destroyWindow();
  clearSliders();
  if (configMenu != nullptr) {
    DelMenu(configMenu);
    configMenu = nullptr;
  }
  UnregisterClassA(kClassName, instance);
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
  if (!registerWindowClass(instance)) {
    MessageBoxA(hostWindow, "Error registering window class", kPluginTitle,
                MB_TOPMOST | MB_ICONERROR);
    return 1;
  }
  locateSettings();
  readStyle();
  configMenu = nullptr;
  clearSliders();
  readSliders(settingsPath);
  int running = 0;
  for (int i = 0; Slider* s = sliderAt(i); ++i)
    if (startSlider(*s)) ++running;
  if (running > 0) return 0;
  stopAll(instance);
  return 1;
}

void endPlugin(HINSTANCE instance) {
  writeSliders(settingsPath);
  stopAll(instance);
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
