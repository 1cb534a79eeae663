#include "commands/config_menu.h"

#include <cstdio>

#include "commands/enumeration_mixer.h"
#include "mixer/bound_volume.h"
#include "mixer/mixer_name.h"
#include "plugin/module_state.h"

namespace {

const char kNothingCommand[] = "@KvSliderConfigure-nomixer-slider1";

// Builds one titled submenu with fill and hangs it under parent by the same title.
template <typename Fill>
void addSubmenu(HostMenu parent, const char* title, Fill fill) {
  HostMenu menu = MakeMenu(title);
  fill(menu);
  MakeSubmenu(parent, menu, title);
}

// Lists one open device; false when the listing of devices has to stop.
bool addDevice(HostMenu menu, UINT device) {
  EnumerationMixer mixer;
  if (!mixer.open(device)) {
    MakeMenuNOP(menu, "Error opening mixer.");
    return false;
  }
  MIXERCAPSA caps = {};
  if (mixerGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR) {
    MakeMenuNOP(menu, "Error opening mixer device.");
    return false;
  }
  const MixerName product(caps.szPname);
  addSubmenu(menu, product.text,
             [&](HostMenu submenu) { addDestinationMenus(submenu, device, mixer.handle(), caps); });
  MakeMenuItem(menu, "- Nothing", kNothingCommand, !volumeChosen(slider));
  if (!mixer.close()) {
    MakeMenuNOP(menu, "Error closing the mixer.");
    return false;
  }
  return true;
}

}  // namespace

void showConfigMenu() {
  if (configMenu != nullptr) DelMenu(configMenu);
  configMenu = MakeMenu("KvSlider");
  addSubmenu(configMenu, "Control", addControlItems);
  addSubmenu(configMenu, "Options", addOptionItems);
  addSubmenu(configMenu, "Visibility", addVisibilityItems);
  ShowMenu(configMenu);
}

void addControlItems(HostMenu menu) {
  addEndpointItems(menu);
  addDeviceMenus(menu);
}

void addDeviceMenus(HostMenu menu) {
  const UINT count = mixerGetNumDevs();
  if (count == 0) {
    MakeMenuNOP(menu, "No audio devices present.");
    return;
  }
  for (UINT device = 0; device < count; ++device)
    if (!addDevice(menu, device)) return;
}

void addOptionItems(HostMenu menu) {
  MakeMenuItem(menu, "Always on top", "@KvSliderConfigure-ontoptoggle-slider1", slider.alwaysOnTop);
  MakeMenuItem(menu, "Toggle with plugins", "@KvSliderConfigure-plugintoggle-slider1",
               slider.toggleWithPlugins);
  MakeMenuItem(menu, "Snap to window borders", "@KvSliderConfigure-snaptoggle-slider1",
               slider.snapWindow);
  MakeMenuItem(menu, "Position locked", "@KvSliderConfigure-dragtoggle-slider1", !slider.draggable);
}

void addVisibilityItems(HostMenu menu) {
  for (int n = 100; n >= 10; n -= 10) {
    char label[16];
    char command[64];
    std::snprintf(label, sizeof label, "%d%%", n);
    std::snprintf(command, sizeof command, "@KvSliderConfigure-alpha-slider1-%d", n);
    MakeMenuItem(menu, label, command, false);
  }
}
