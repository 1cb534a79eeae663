#include <cstdio>

#include "commands/config_menu.h"
#include "mixer/endpoint_device.h"
#include "plugin/module_state.h"
#include "slider/slider.h"

namespace {

void addEndpointItem(HostMenu menu, const Slider& s, const EndpointList& list, unsigned index) {
  wchar_t id[kEndpointIdSize];
  char label[kTextSize];
  if (!list.entry(index, id, label, kTextSize)) return;
  if (label[0] == '\0')  // an empty label would read as a separator
    std::snprintf(label, sizeof label, "Audio endpoint %u", index + 1);
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-endpoint-%s-%u", s.name, index + 1);
  MakeMenuItem(menu, label, command, chosenEndpointIs(s.binding, id));
}

}  // namespace

// Where Core Audio is missing or cannot list the endpoints, nothing is added.
void addEndpointItems(HostMenu menu, const Slider& s) {
  EndpointList list;
  if (!list.open()) return;
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-endpoint-%s-0", s.name);
  MakeMenuItem(menu, "Default device", command, followsDefaultEndpoint(s.binding));
  for (unsigned index = 0; index < list.count(); ++index) addEndpointItem(menu, s, list, index);
  MakeMenuNOP(menu, "");
}
