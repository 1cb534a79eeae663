// Script steps on winmm mixer controls, from the host's own process.
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "tolvane/script_steps.h"

namespace script {
namespace {

struct OpenMixer {
  HMIXER handle = nullptr;
  MMRESULT result;
  explicit OpenMixer(unsigned device) { result = mixerOpen(&handle, device, 0, 0, 0); }
  OpenMixer(const OpenMixer&) = delete;
  OpenMixer& operator=(const OpenMixer&) = delete;
  ~OpenMixer() {
    if (result == MMSYSERR_NOERROR) mixerClose(handle);
  }
};

bool mixerArgs(const Args& a, unsigned* device, unsigned* line, unsigned* control, unsigned* raw,
               std::string* error) {
  (void)line;  // the control identifier alone addresses a control on its device
  return unsignedNumber(a[1], device, error) && unsignedNumber(a[2], line, error) &&
         unsignedNumber(a[3], control, error) && unsignedNumber(a[4], raw, error);
}

MMRESULT controlDetails(HMIXER mixer, unsigned control, MIXERCONTROLDETAILS_UNSIGNED* value,
                        bool set) {
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof details;
  details.dwControlID = control;
  details.cChannels = 1;
  details.cbDetails = sizeof *value;
  details.paDetails = value;
  HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);
  return set ? mixerSetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE)
             : mixerGetControlDetailsA(object, &details, MIXER_GETCONTROLDETAILSF_VALUE);
}

// mixer-set DEVICE LINE CONTROL RAW [TARGET]: sets the control from this
// process and, as a driver would, notifies TARGET with MM_MIXM_CONTROL_CHANGE.
bool stepMixerSet(const Args& a, std::string* error) {
  unsigned device, line, control, raw;
  if (!mixerArgs(a, &device, &line, &control, &raw, error)) return false;
  HWND notify = nullptr;
  if (a.size() > 5 && (!target(a[5], &notify, error) || !notify))
    return fail(error, "notification needs a window");
  std::string why;
  ui([&] {
    OpenMixer mixer(device);
    if (mixer.result != MMSYSERR_NOERROR) return why = "mixerOpen failed", false;
    MIXERCONTROLDETAILS_UNSIGNED value = {raw};
    const MMRESULT r = controlDetails(mixer.handle, control, &value, true);
    if (r != MMSYSERR_NOERROR) return why = "set failed (" + std::to_string(r) + ")", false;
    if (notify)
      PostMessageA(notify, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(mixer.handle),
                   static_cast<LPARAM>(control));
    return true;
  });
  settle();
  return why.empty() || fail(error, why);
}

bool readMixer(unsigned device, unsigned control, unsigned* raw, std::string* error) {
  std::string why;
  ui([&] {
    OpenMixer mixer(device);
    if (mixer.result != MMSYSERR_NOERROR) return why = "mixerOpen failed", false;
    // A driver may report success without writing: start from a value no
    // control holds, and treat it as unread.
    MIXERCONTROLDETAILS_UNSIGNED value = {0xFFFFFFFFu};
    const MMRESULT r = controlDetails(mixer.handle, control, &value, false);
    if (r != MMSYSERR_NOERROR) return why = "read failed (" + std::to_string(r) + ")", false;
    if (value.dwValue == 0xFFFFFFFFu) return why = "the driver wrote no value", false;
    *raw = value.dwValue;
    return true;
  });
  return why.empty() || fail(error, why);
}

// "N", or "i686:N" for a tolerance that only a 32-bit host grants: wine's
// 32-bit mixer may hand a raw value back one step lower than it was set.
bool mixerTolerance(const std::string& text, unsigned* tolerance, std::string* error) {
  static const std::string k32Bit = "i686:";
  if (text.compare(0, k32Bit.size(), k32Bit) != 0) return unsignedNumber(text, tolerance, error);
  if (!unsignedNumber(text.substr(k32Bit.size()), tolerance, error)) return false;
  if (sizeof(void*) != 4) *tolerance = 0;
  return true;
}

bool stepExpectMixer(const Args& a, std::string* error) {
  unsigned device, line, control, want, got, tolerance = 0;
  if (!mixerArgs(a, &device, &line, &control, &want, error)) return false;
  if (a.size() > 5 && !mixerTolerance(a[5], &tolerance, error)) return false;
  if (!readMixer(device, control, &got, error)) return false;
  std::printf("  raw value %u\n", got);
  const long long diff = std::llabs(static_cast<long long>(got) - want);
  return diff <= tolerance || fail(error, "raw value " + std::to_string(got));
}

const Step kSteps[] = {
    {"mixer-set", 4, stepMixerSet},
    {"expect-mixer", 4, stepExpectMixer},
};

}  // namespace

StepTable mixerSteps() { return tableOf(kSteps); }

}  // namespace script
