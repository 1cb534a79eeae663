#include "plugin/module_state.h"

Slider slider;
HINSTANCE moduleInstance;
HWND hostWindow;
bool layeredWindowsAvailable;
char settingsPath[kPathSize];
HostMenu configMenu;
bool processExiting;
const unsigned hostMessages[3] = {HostMsgReload, HostMsgCommand, 0};
const char kPluginTitle[] = "KvSlider 0.1.1";

namespace {
// Gives the slider its load-time values when the module's static data is
// initialised, and lets go of a still-bound mixer device when it unloads.
struct SliderLifetime {
  SliderLifetime() { slider.initialise(); }
  ~SliderLifetime() { slider.releaseAtUnload(); }
  SliderLifetime(const SliderLifetime&) = delete;
  SliderLifetime& operator=(const SliderLifetime&) = delete;
};
SliderLifetime lifetime;
}  // namespace
