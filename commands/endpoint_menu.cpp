#include <cstdio>

#include "commands/config_menu.h"
#include "host/module_values.h"
#include "mixer/endpoint_kind.h"
#include "slider/slider.h"

namespace {

// One flow's section of "Control": its heading, its defaults (the console's,
// then calls'), then each active endpoint.
struct Section {
  EDataFlow flow;
  const char* heading;
  const char* keyword;       // of the commands
  const char* defaultLabel;  // the item that follows the system's default
  const char* callsKeyword;  // the command that follows the default for calls
  const char* callsLabel;
  const char* unnamed;  // label of an endpoint without a name, with its number
};

constexpr Section kSpeakers = {eRender,
                               "Speakers",
                               "endpoint",
                               "Default device",
                               "commsendpoint",
                               "Default communications device",
                               "Audio endpoint %u"};
constexpr Section kMicrophones = {eCapture,          "Microphones",
                                  "microphone",      "Default microphone",
                                  "commsmicrophone", "Default communications microphone",
                                  "Microphone %u"};

void addEndpointItem(HostMenu menu, const Slider& s, const Section& section,
                     const EndpointList& list, unsigned index) {
  wchar_t id[kEndpointIdSize];
  char label[kTextSize];
  if (!list.entry(index, id, label, kTextSize)) return;
  if (label[0] == '\0')  // an empty label would read as a separator
    std::snprintf(label, sizeof label, section.unnamed, index + 1);
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-%s-%s-%u", section.keyword, s.name,
                index + 1);
  MakeMenuItem(menu, label, command, chosenEndpointIs(s.binding, section.flow, id));
}

// Where Core Audio is missing or cannot list the endpoints, nothing is added.
bool addSection(HostMenu menu, const Slider& s, const Section& section) {
  EndpointList list;
  if (!list.open(section.flow)) return false;
  MakeMenuNOP(menu, section.heading);
  char command[kTextSize];
  std::snprintf(command, sizeof command, "@KvSliderConfigure-%s-%s-0", section.keyword, s.name);
  MakeMenuItem(menu, section.defaultLabel, command,
               followsDefaultEndpoint(s.binding, section.flow));
  std::snprintf(command, sizeof command, "@KvSliderConfigure-%s-%s", section.callsKeyword, s.name);
  MakeMenuItem(menu, section.callsLabel, command,
               followsDefaultEndpoint(s.binding, section.flow, eCommunications));
  for (unsigned index = 0; index < list.count(); ++index)
    addEndpointItem(menu, s, section, list, index);
  MakeMenuNOP(menu, "");
  return true;
}

}  // namespace

bool addEndpointItems(HostMenu menu, const Slider& s) {
  const bool speakers = addSection(menu, s, kSpeakers);
  const bool microphones = addSection(menu, s, kMicrophones);
  return speakers || microphones;
}
