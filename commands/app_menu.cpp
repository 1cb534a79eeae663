// "Applications": every program with an audio session now, and the one bound.
#include <cstdio>

#include "commands/config_menu.h"
#include "host/module_values.h"
#include "mixer/app_kind.h"
#include "mixer/endpoint_device.h"
#include "slider/slider.h"

namespace {

struct Listing {
  const Slider* slider;
  HostMenu menu;
  int added;
};

void addApp(void* context, const char* image, const char* name, DWORD process) {
  auto* l = static_cast<Listing*>(context);
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-app-%s-%lu", l->slider->name,
                static_cast<unsigned long>(process));
  char label[kTextSize];
  std::snprintf(label, sizeof label, "%s", name[0] != '\0' ? name : image);
  MakeMenuItem(l->menu, label, command, boundToApp(l->slider->binding, image));
  ++l->added;
}

}  // namespace

// Without Core Audio (or its render endpoints) there are no sessions to
// list, nor to bind: no submenu, as there is no endpoint section then.
void addAppMenu(HostMenu parent, const Slider& s) {
  EndpointList endpoints;
  if (!endpoints.open(eRender)) return;
  HostMenu menu = MakeMenu("Applications");
  if (!volumeRunning(s.binding)) {
    char waiting[kTextSize];
    std::snprintf(waiting, sizeof waiting, "%s (not running)", volumeName(s.binding));
    MakeMenuNOP(menu, waiting);
  }
  Listing listing = {&s, menu, 0};
  listApps(addApp, &listing);
  if (listing.added == 0) MakeMenuNOP(menu, "(none)");
  MakeSubmenu(parent, menu, "Applications");
}
