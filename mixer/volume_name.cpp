// The name a user knows the bound control by: its line's ("Master Volume",
// "Wave"), since the control's own is mostly just "Volume".
#include <cstring>

#include "mixer/mixer_name.h"
#include "slider/slider.h"

namespace {

HMIXEROBJ asObject(HMIXER device) { return reinterpret_cast<HMIXEROBJ>(device); }

template <size_t ToSize, size_t FieldSize>
void copyName(char (&to)[ToSize], const char (&field)[FieldSize]) {
  static_assert(FieldSize < ToSize, "a driver's name field fits with its terminator");
  const MixerName<FieldSize> name(field);
  std::memcpy(to, name.text, sizeof name.text);
}

}  // namespace

void Slider::rememberVolumeName() {
  volumeName[0] = '\0';
  MIXERCONTROLA control = {};
  control.cbStruct = sizeof control;
  MIXERLINECONTROLSA query = {};
  query.cbStruct = sizeof query;
  query.dwControlID = controlId;
  query.cControls = 1;
  query.cbmxctrl = sizeof control;
  query.pamxctrl = &control;
  // The line that really holds the control: a command may have named another.
  const bool found = mixerGetLineControlsA(asObject(mixerObject), &query,
                                           MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID) ==
                     MMSYSERR_NOERROR;
  MIXERLINEA line = {};
  line.cbStruct = sizeof line;
  line.dwLineID = found ? query.dwLineID : lineId;
  if (mixerGetLineInfoA(asObject(mixerObject), &line,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID) == MMSYSERR_NOERROR)
    copyName(volumeName, line.szName);
  else if (found)
    copyName(volumeName, control.szName);
}
