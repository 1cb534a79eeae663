#include <cstdio>

#include "commands/config_menu.h"
#include "host/module_values.h"
#include "mixer/mixer_name.h"
#include "mixer/winmm_kind.h"
#include "slider/slider.h"

namespace {

// The menu never looks at more controls of one line than this.
constexpr DWORD kMaxControls = 8;

bool readLine(const MixerHandle& handle, DWORD destination, DWORD source, DWORD query,
              MIXERLINEA& line) {
  line = MIXERLINEA{};
  line.cbStruct = sizeof line;
  line.dwDestination = destination;
  line.dwSource = source;
  return mixerGetLineInfoA(handle.object(), &line, MIXER_OBJECTF_HMIXER | query) ==
         MMSYSERR_NOERROR;
}

void addVolumeItem(HostMenu menu, const Slider& s, UINT device, const MIXERLINEA& line,
                   const MIXERCONTROLA& control) {
  const MixerName name(control.szName);
  char label[kTextSize];
  char command[kTextSize];
  std::snprintf(label, sizeof label, "- %s", name.text);
  std::snprintf(command, sizeof command, "@KvSliderConfigure-mixer-%s-%u-%u-%u", s.name, device,
                static_cast<unsigned>(line.dwLineID), static_cast<unsigned>(control.dwControlID));
  MakeMenuItem(menu, label, command,
               boundToMixerControl(s.binding, line.dwLineID, control.dwControlID));
}

}  // namespace

void addDestinationMenus(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                         const MIXERCAPSA& caps) {
  if (caps.cDestinations == 0) {
    MakeMenuNOP(menu, "No destination lines available.");
    return;
  }
  for (DWORD index = 0; index < caps.cDestinations; ++index) {
    MIXERLINEA line;
    if (!readLine(handle, index, 0, MIXER_GETLINEINFOF_DESTINATION, line)) {
      MakeMenuNOP(menu, "Error opening mixer destination lines.");
      return;
    }
    const MixerName title(line.szName);
    HostMenu submenu = MakeMenu(title.text);
    if (addVolumeItems(submenu, s, device, handle, line) > 0) MakeMenuNOP(submenu, "");
    addSourceMenus(submenu, s, device, handle, line);
    MakeSubmenu(menu, submenu, title.text);
  }
}

void addSourceMenus(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                    const MIXERLINEA& destination) {
  if (destination.cConnections == 0) {
    MakeMenuNOP(menu, "No source lines available.");
    return;
  }
  for (DWORD index = 0; index < destination.cConnections; ++index) {
    MIXERLINEA line;
    if (!readLine(handle, destination.dwDestination, index, MIXER_GETLINEINFOF_SOURCE, line)) {
      MakeMenuNOP(menu, "Error opening mixer source lines.");
      return;
    }
    const MixerName title(line.szName);
    HostMenu submenu = MakeMenu(title.text);
    addVolumeItems(submenu, s, device, handle, line);
    MakeSubmenu(menu, submenu, title.text);
  }
}

int addVolumeItems(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                   const MIXERLINEA& line) {
  MIXERCONTROLA controls[kMaxControls] = {};
  MIXERLINECONTROLSA query = {};
  query.cbStruct = sizeof query;
  query.dwLineID = line.dwLineID;
  query.cControls = line.cControls < kMaxControls ? line.cControls : kMaxControls;
  query.cbmxctrl = sizeof controls[0];
  query.pamxctrl = controls;
  if (mixerGetLineControlsA(handle.object(), &query,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
      MMSYSERR_NOERROR) {
    MakeMenuNOP(menu, "No controls available for this item.");
    return 0;
  }
  int added = 0;
  for (DWORD i = 0; i < query.cControls; ++i) {
    if (controls[i].dwControlType != MIXERCONTROL_CONTROLTYPE_VOLUME) continue;
    addVolumeItem(menu, s, device, line, controls[i]);
    ++added;
  }
  return added;
}
