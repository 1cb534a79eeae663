// The bound control's line: its name (a line's "Master Volume" or "Wave"
// says more than the control's own, mostly just "Volume") and its mute.
#include "mixer/winmm_line.h"

#include <cstring>

#include "mixer/mixer_handle.h"
#include "mixer/mixer_name.h"

namespace {

template <size_t ToSize, size_t FieldSize>
void copyName(char (&to)[ToSize], const char (&field)[FieldSize]) {
  static_assert(FieldSize < ToSize, "a driver's name field fits with its terminator");
  const MixerName<FieldSize> name(field);
  std::memcpy(to, name.text, sizeof name.text);
}

// One control of a line, asked for by identifier or by type.
bool queryControl(const MixerHandle& device, MIXERLINECONTROLSA& query, MIXERCONTROLA& control,
                  DWORD how) {
  control = MIXERCONTROLA{};
  control.cbStruct = sizeof control;
  query.cbStruct = sizeof query;
  query.cControls = 1;
  query.cbmxctrl = sizeof control;
  query.pamxctrl = &control;
  return mixerGetLineControlsA(device.object(), &query, MIXER_OBJECTF_HMIXER | how) ==
         MMSYSERR_NOERROR;
}

// A mute control is a boolean, read and set for all channels at once.
class MuteDetails {
 public:
  MuteDetails(const MixerHandle& device, unsigned control) : device_(device.object()) {
    value_.fValue = 0;  // some drivers report success without writing it
    details_.cbStruct = sizeof details_;
    details_.dwControlID = control;
    details_.cChannels = 1;
    details_.cbDetails = sizeof value_;
    details_.paDetails = &value_;
  }
  MuteDetails(const MuteDetails&) = delete;
  MuteDetails& operator=(const MuteDetails&) = delete;
  bool fetch(bool& muted) {
    if (mixerGetControlDetailsA(device_, &details_, kGetValue) != MMSYSERR_NOERROR) return false;
    muted = value_.fValue != 0;
    return true;
  }
  bool set(bool muted) {
    value_.fValue = muted ? 1 : 0;
    return mixerSetControlDetails(device_, &details_, kSetValue) == MMSYSERR_NOERROR;
  }

 private:
  HMIXEROBJ device_;
  MIXERCONTROLDETAILS_BOOLEAN value_;
  MIXERCONTROLDETAILS details_ = {};
};

}  // namespace

void learnWinmmLine(WinmmControl& c) {
  c.lineName[0] = '\0';
  c.muteFound = false;
  // The line that really holds the control: a command may have named another.
  // Wine does not fill the line in but checks the one given (and with 0 would
  // answer for another line), so the stored line goes in.
  MIXERLINECONTROLSA byId = {};
  byId.dwControlID = c.controlId;
  byId.dwLineID = c.lineId;
  MIXERCONTROLA control;
  const bool found = queryControl(c.device, byId, control, MIXER_GETLINECONTROLSF_ONEBYID);
  MIXERLINEA line = {};
  line.cbStruct = sizeof line;
  line.dwLineID = found ? byId.dwLineID : c.lineId;
  if (mixerGetLineInfoA(c.device.object(), &line,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) == MMSYSERR_NOERROR)
    copyName(c.lineName, line.szName);
  else if (found)
    copyName(c.lineName, control.szName);

  MIXERLINECONTROLSA byType = {};
  byType.dwLineID = line.dwLineID;
  byType.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
  MIXERCONTROLA mute;
  if (!queryControl(c.device, byType, mute, MIXER_GETLINECONTROLSF_ONEBYTYPE)) return;
  c.muteControlId = mute.dwControlID;
  c.muteFound = true;
}

bool readWinmmMute(const WinmmControl& c, bool& muted) {
  if (!c.device || !c.muteFound) return false;
  return MuteDetails(c.device, c.muteControlId).fetch(muted);
}

bool writeWinmmMute(const WinmmControl& c, bool muted) {
  if (!c.device || !c.muteFound) return false;
  MuteDetails details(c.device, c.muteControlId);
  bool before = false;
  // Drivers expect the details to have been fetched before they are set.
  return details.fetch(before) && details.set(muted);
}
