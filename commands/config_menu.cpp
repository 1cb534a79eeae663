#include "commands/config_menu.h"

#include <cstdio>

#include "host/module_values.h"
#include "mixer/mixer_name.h"
#include "settings/slider_names.h"
#include "slider/slider.h"

HostMenu configMenu;

namespace {

// Builds one titled submenu with fill and hangs it under parent by the same title.
template <typename Fill>
void addSubmenu(HostMenu parent, const char* title, Fill fill) {
  HostMenu menu = MakeMenu(title);
  fill(menu);
  MakeSubmenu(parent, menu, title);
}

// A command of this slider's: "@KvSliderConfigure-<keyword>-<name>".
struct Command {
  char text[kTextSize];
  Command(const char* keyword, const Slider& s) {
    std::snprintf(text, sizeof text, "@KvSliderConfigure-%s-%s", keyword, s.name);
  }
};

void addItem(HostMenu menu, const char* label, const char* keyword, const Slider& s, bool checked) {
  MakeMenuItem(menu, label, Command(keyword, s).text, checked);
}

// Lists one open device; false when the listing of devices has to stop.
bool addDevice(HostMenu menu, const Slider& s, const MenuFacts& facts, UINT device) {
  MixerHandle mixer;
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
             [&](HostMenu submenu) { addDestinationMenus(submenu, s, device, mixer, caps); });
  addItem(menu, "- Nothing", "nomixer", s,
          s.binding.kind == BindingKind::None && !facts.keptFromFile);
  if (!mixer.close()) {
    MakeMenuNOP(menu, "Error closing the mixer.");
    return false;
  }
  return true;
}

}  // namespace

void showConfigMenu(const Slider& s, const MenuFacts& facts) {
  deleteConfigMenu();
  configMenu = MakeMenu("KvSlider");
  addSubmenu(configMenu, "Control", [&](HostMenu m) { addControlItems(m, s, facts); });
  addSubmenu(configMenu, "Options", [&](HostMenu m) { addOptionItems(m, s); });
  addSubmenu(configMenu, "Visibility", [&](HostMenu m) { addVisibilityItems(m, s); });
  addSubmenu(configMenu, "Ceiling", [&](HostMenu m) { addCeilingItems(m, s); });
  addSliderItems(configMenu, s, facts);
  ShowMenu(configMenu);
}

void deleteConfigMenu() {
  if (configMenu != nullptr) DelMenu(configMenu);
  configMenu = nullptr;
}

// Without Core Audio (before Vista) the mixer devices are all there is, and
// need no heading.
void addControlItems(HostMenu menu, const Slider& s, const MenuFacts& facts) {
  const bool endpoints = addEndpointItems(menu, s);
  addAppMenu(menu, s);
  addDeviceMenus(menu, s, facts, endpoints ? "Mixer devices" : nullptr);
}

void addDeviceMenus(HostMenu menu, const Slider& s, const MenuFacts& facts, const char* heading) {
  const UINT count = mixerGetNumDevs();
  if (count == 0) {
    MakeMenuNOP(menu, "No audio devices present.");
    return;
  }
  if (heading != nullptr) MakeMenuNOP(menu, heading);
  for (UINT device = 0; device < count; ++device)
    if (!addDevice(menu, s, facts, device)) return;
}

void addOptionItems(HostMenu menu, const Slider& s) {
  addItem(menu, "Always on top", "ontoptoggle", s, s.alwaysOnTop);
  addItem(menu, "Toggle with plugins", "plugintoggle", s, s.toggleWithPlugins);
  addItem(menu, "Snap to window borders", "snaptoggle", s, s.snapWindow);
  addItem(menu, "Position locked", "dragtoggle", s, !s.draggable);
}

void addVisibilityItems(HostMenu menu, const Slider& s) {
  for (int n = 100; n >= 10; n -= 10) {
    char label[16];
    char command[kTextSize];
    std::snprintf(label, sizeof label, "%d%%", n);
    std::snprintf(command, sizeof command, "@KvSliderConfigure-alpha-%s-%d", s.name, n);
    MakeMenuItem(menu, label, command, false);
  }
}

void addCeilingItems(HostMenu menu, const Slider& s) {
  for (int n = 100; n >= 30; n -= 10) {
    char label[16];
    char command[kTextSize];
    std::snprintf(label, sizeof label, n == 100 ? "None" : "%d%%", n);
    std::snprintf(command, sizeof command, "@KvSliderConfigure-ceiling-%s-%d", s.name, n);
    MakeMenuItem(menu, label, command, s.ceiling == n);
  }
}

void addSliderItems(HostMenu menu, const Slider& s, const MenuFacts& facts) {
  if (facts.sliders < kMostSliders) addItem(menu, "New slider", "newslider", s, false);
  if (facts.sliders > 1) addItem(menu, "Remove this slider", "removeslider", s, false);
}
