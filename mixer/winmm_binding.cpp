// Binding of the slider to one mixer control: the bound device stays open from
// a successful bind until the next bind, an unbind or the module's unload.
#include "mixer/winmm_device.h"
#include "mixer/winmm_handle.h"
#include "plugin/module_state.h"
#include "slider/slider.h"

namespace {

constexpr double kRawFull = 65535.0;  // controls are driven on a fixed 0..65535 scale
constexpr double kReadFailed = -1.0;

bool openDevice(unsigned device, HWND notify, HMIXER& handle) {
  HMIXER opened = nullptr;
  const MMRESULT result =
      mixerOpen(&opened, device, reinterpret_cast<DWORD_PTR>(notify), 0, CALLBACK_WINDOW);
  if (result != MMSYSERR_NOERROR || opened == nullptr) return false;
  handle = opened;
  return true;
}

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

}  // namespace

void Slider::bindControl(unsigned device, unsigned line, unsigned control) {
  releaseBinding();
  mixerKept = false;
  muteFound = false;
  muted = false;
  deviceId = device;
  lineId = line;
  controlId = control;

  if (!openDevice(device, window, mixerObject)) {
    SendMessageA(hostWindow, HostMsgStatusText, 0,
                 reinterpret_cast<LPARAM>("Unable to open mixer device."));
    repaint();  // the old binding's knob must not stay on screen
    return;
  }

  controlDetails = MIXERCONTROLDETAILS{};
  controlDetails.cbStruct = sizeof(MIXERCONTROLDETAILS);
  controlDetails.dwControlID = control;
  controlDetails.cChannels = 1;
  controlDetails.cMultipleItems = 0;
  controlDetails.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  controlDetails.paDetails = nullptr;

  const double read = readControlValue();
  if (read == kReadFailed) {
    mixerClose(mixerObject);
    mixerObject = nullptr;
    repaint();
    return;
  }
  value = read;
  updateKnobFromValue();
  repaint();
  mixerBound = true;
  mixerDeviceName(device, deviceName, sizeof deviceName);
  learnBoundLine();
  readControlMute(muted);
}

void Slider::unbindControl() {
  releaseBinding();
  mixerKept = false;  // the user chose: a kept binding goes too
  repaint();
}

void Slider::releaseBinding() {
  if (mixerBound) mixerClose(mixerObject);
  mixerObject = nullptr;
  mixerBound = false;
}

double Slider::readControlValue() {
  if (mixerObject == nullptr) return kReadFailed;
  // Some drivers report success without writing the value: start from 0 so
  // that such a read can never hand leftover stack contents over as a volume.
  MIXERCONTROLDETAILS_UNSIGNED raw;
  raw.dwValue = 0;
  MIXERCONTROLDETAILS details = controlDetails;
  details.paDetails = &raw;
  if (mixerGetControlDetailsA(asObject(mixerObject), &details, kGetValue) != MMSYSERR_NOERROR)
    return kReadFailed;
  return static_cast<double>(raw.dwValue) / kRawFull;
}

void Slider::writeControlValue() {
  if (!mixerBound) return;
  MIXERCONTROLDETAILS_UNSIGNED raw;
  raw.dwValue = 0;
  MIXERCONTROLDETAILS details = controlDetails;
  details.paDetails = &raw;
  // Drivers expect the details to have been fetched before they are set.
  if (mixerGetControlDetailsA(asObject(mixerObject), &details, kGetValue) != MMSYSERR_NOERROR)
    return;
  raw.dwValue = rawFromValue(value);
  mixerSetControlDetails(asObject(mixerObject), &details, kSetValue);
}

void Slider::showControlValue() {
  const double read = readControlValue();
  // The same raw value is the same level: the knob keeps the exact one, and
  // repeated steps do not drift by what a raw unit cuts off.
  if (read == kReadFailed || rawFromValue(read) == rawFromValue(value)) return;
  value = read;
  updateKnobFromValue();
}

void Slider::handleControlChange(unsigned control) {
  // The mute is followed during a drag too: the drag only moves the level.
  if (mixerBound && muteFound && control == muteControlId) followMute();
  if (!mixerBound || control != controlId || dragging) return;
  const int old = knobPos;
  const double read = readControlValue();
  if (read == kReadFailed) return;
  value = read;
  updateKnobFromValue();
  if (knobPos != old) repaint();
}

void Slider::directNotificationsToWindow() {
  // A binding restored before the window existed was opened without anyone to
  // notify. Open the device again for the window; if that fails the old handle
  // still reads and writes, only without notifications.
  if (!mixerBound || window == nullptr) return;
  HMIXER reopened = nullptr;
  if (!openDevice(deviceId, window, reopened)) return;
  mixerClose(mixerObject);
  mixerObject = reopened;
}

void Slider::releaseAtUnload() {
  // While the process exits, winmm may already have been torn down.
  if (!processExiting) releaseBinding();
}
