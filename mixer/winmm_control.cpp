#include "mixer/winmm_control.h"

#include "mixer/winmm_device.h"
#include "mixer/winmm_line.h"

namespace {

constexpr double kRawFull = 65535.0;  // controls are driven on a fixed 0..65535 scale

// value x 65535 truncated. The value only leaves [0, 1] if something upstream
// is broken; pin it rather than send a wrapped-around volume to the device.
DWORD rawFromValue(double value) {
  if (!(value > 0.0)) return 0;  // also NaN
  if (value >= 1.0) return 65535;
  // Rounded to a double before it is cut. The i686 build computes on the x87 in
  // 80 bits, where a level read from raw r (r / 65535) times 65535 lands a hair
  // under r and truncates to r - 1: every write of a level read back would take
  // a unit off the control, and i686 would write other values than x86_64.
  const volatile double scaled = value * kRawFull;
  return static_cast<DWORD>(scaled);
}

// One unsigned value of the control, for one call.
struct ValueDetails {
  MIXERCONTROLDETAILS_UNSIGNED raw;
  MIXERCONTROLDETAILS details;

  explicit ValueDetails(unsigned control) : details() {
    // Some drivers report success without writing the value: start from 0 so
    // that such a read can never hand leftover stack contents over as a volume.
    raw.dwValue = 0;
    details.cbStruct = sizeof details;
    details.dwControlID = control;
    details.cChannels = 1;  // every channel, as one uniform value
    details.cMultipleItems = 0;
    details.cbDetails = sizeof raw;
    details.paDetails = &raw;
  }
  ValueDetails(const ValueDetails&) = delete;
  ValueDetails& operator=(const ValueDetails&) = delete;
};

}  // namespace

WinmmBind openWinmmControl(WinmmControl& c, HWND notify, unsigned device, unsigned line,
                           unsigned control, double& level) {
  closeWinmmControl(c);
  c.deviceId = device;
  c.lineId = line;
  c.controlId = control;
  if (!c.device.openNotifying(device, notify)) return WinmmBind::CannotOpen;
  if (!readWinmmLevel(c, level)) {
    closeWinmmControl(c);
    return WinmmBind::CannotRead;
  }
  mixerDeviceName(device, c.deviceName, sizeof c.deviceName);
  learnWinmmLine(c);
  return WinmmBind::Bound;
}

void closeWinmmControl(WinmmControl& c) {
  c.device.close();
  c.deviceName[0] = '\0';
  c.lineName[0] = '\0';
  c.muteFound = false;
}

void notifyWinmmWindow(WinmmControl& c, HWND window) {
  if (!c.device || window == nullptr) return;
  MixerHandle reopened;
  if (reopened.openNotifying(c.deviceId, window)) c.device.takeOver(reopened);
}

bool readWinmmLevel(const WinmmControl& c, double& level) {
  if (!c.device) return false;
  ValueDetails value(c.controlId);
  if (mixerGetControlDetailsA(c.device.object(), &value.details, kGetValue) != MMSYSERR_NOERROR)
    return false;
  level = static_cast<double>(value.raw.dwValue) / kRawFull;
  return true;
}

bool writeWinmmLevel(const WinmmControl& c, double level) {
  if (!c.device) return false;
  ValueDetails value(c.controlId);
  // Drivers expect the details to have been fetched before they are set.
  if (mixerGetControlDetailsA(c.device.object(), &value.details, kGetValue) != MMSYSERR_NOERROR)
    return false;
  value.raw.dwValue = rawFromValue(level);
  return mixerSetControlDetails(c.device.object(), &value.details, kSetValue) == MMSYSERR_NOERROR;
}
