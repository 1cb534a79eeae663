#include "plugin/entry_points.h"

#include "commands/config_menu.h"
#include "mixer/bound_volume.h"
#include "plugin/module_state.h"
#include "settings/settings_file.h"
#include "settings/style.h"

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

void showStartError(HWND owner, const char* text) {
  MessageBoxA(owner, text, kPluginTitle, MB_TOPMOST | MB_ICONERROR);
}

// A start that fails gives back what it took. The shell unloads the module
// after a failed start and may load it again (a reconfigure, a reload): a class
// left registered, its procedure in the unloaded image, would make every later
// start fail, and a device opened for a stored binding would stay open.
void undoFailedStart(HINSTANCE instance) {
  slider.releaseBinding();
  UnregisterClassA(kClassName, instance);
}
}  // namespace

int beginPlugin(HINSTANCE instance) {
  layeredWindowsAvailable = detectLayeredWindows();
  hostWindow = GetKvWnd();
  moduleInstance = instance;
  if (!registerWindowClass(instance)) {
    showStartError(hostWindow, "Error registering window class");
    return 1;
  }
  locateSettings();
  readStyle();
  configMenu = nullptr;
  slider.readSettings(settingsPath);
  if (!slider.createWindow(instance, layeredWindowsAvailable)) {
    showStartError(nullptr, "Error creating window");
    undoFailedStart(instance);
    return 1;
  }
  slider.directNotificationsToWindow();
  restoreStoredEndpoint(slider);
  SendMessageA(hostWindow, HostMsgRegister, reinterpret_cast<WPARAM>(slider.window),
               reinterpret_cast<LPARAM>(hostMessages));
  MakeSticky(slider.window);
  slider.applyWindowState();
  return 0;
}

void endPlugin(HINSTANCE instance) {
  slider.writeSettings(settingsPath);
  RemoveSticky(slider.window);
  SendMessageA(hostWindow, HostMsgUnregister, reinterpret_cast<WPARAM>(slider.window),
               reinterpret_cast<LPARAM>(hostMessages));
  // No endpoint notification may be on its way to a window that is gone.
  releaseVolumeAtStop();
  slider.destroyWindow();
  if (configMenu != nullptr) {
    DelMenu(configMenu);
    configMenu = nullptr;
  }
  UnregisterClassA(kClassName, instance);
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
