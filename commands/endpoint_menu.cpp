#include <cstdio>

#include "commands/config_menu.h"
#include "mixer/bound_volume.h"
#include "mixer/endpoint_device.h"
#include "plugin/module_state.h"

namespace {

void addEndpointItem(HostMenu menu, const EndpointList& list, unsigned index) {
  wchar_t id[kEndpointIdSize];
  char label[kTextSize];
  if (!list.entry(index, id, label, kTextSize)) return;
  if (label[0] == '\0')  // an empty label would read as a separator
    std::snprintf(label, sizeof label, "Audio endpoint %u", index + 1);
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-endpoint-%s-%u", "slider1", index + 1);
  MakeMenuItem(menu, label, command, chosenEndpointIs(id));
}

}  // namespace

// Where Core Audio is missing or cannot list the endpoints, nothing is added.
void addEndpointItems(HostMenu menu) {
  EndpointList list;
  if (!list.open()) return;
  MakeMenuItem(menu, "Default device", "@KvSliderConfigure-endpoint-slider1-0",
               followsDefaultEndpoint());
  for (unsigned index = 0; index < list.count(); ++index) addEndpointItem(menu, list, index);
  MakeMenuNOP(menu, "");
}
