#include "mixer/winmm_kind.h"

#include "mixer/volume_kind.h"
#include "mixer/winmm_device.h"
#include "mixer/winmm_line.h"

namespace {

HWND windowOf(const Binding& b) { return b.posts ? b.posts->window() : nullptr; }

bool bound(const Binding&) { return true; }  // open for as long as it is the binding
bool running(const Binding&) { return true; }
const char* name(const Binding& b) { return b.winmm.lineName; }
bool readLevel(const Binding& b, double& level) { return readWinmmLevel(b.winmm, level); }
// A drag goes on following the mouse either way; a step reads back what the
// device took.
bool writeLevel(Binding& b, double level) {
  writeWinmmLevel(b.winmm, level);
  return true;
}
bool readMute(const Binding& b, bool& muted) { return readWinmmMute(b.winmm, muted); }
bool writeMute(Binding& b, bool muted) { return writeWinmmMute(b.winmm, muted); }

// MM_MIXM_CONTROL_CHANGE names a control of the device: its own, its mute, or another.
VolumeReading follow(Binding& b, UINT message, LPARAM detail) {
  VolumeReading r;
  if (message != MM_MIXM_CONTROL_CHANGE) return r;
  const auto control = static_cast<unsigned>(detail);
  if (b.winmm.muteFound && control == b.winmm.muteControlId)
    r.hasMute = readWinmmMute(b.winmm, r.muted);
  if (control == b.winmm.controlId) r.hasLevel = readWinmmLevel(b.winmm, r.level);
  return r;
}

void release(Binding& b) { closeWinmmControl(b.winmm); }

}  // namespace

const VolumeKind kWinmmKind = {bound,    running,   name,   readLevel, writeLevel,
                               readMute, writeMute, follow, release};

VolumeReading bindMixerControl(Binding& b, unsigned device, unsigned line, unsigned control) {
  startBinding(b, BindingKind::Winmm);
  double level = 0.0;
  switch (openWinmmControl(b.winmm, windowOf(b), device, line, control, level)) {
    case WinmmBind::Bound: return boundReading(b, level);
    case WinmmBind::CannotOpen: return failedBinding(b, VolumeFailure::NoMixerDevice);
    case WinmmBind::CannotRead: break;
  }
  return failedBinding(b, VolumeFailure::None);  // a control the device does not have: said nowhere
}

VolumeReading restoreMixerControl(Binding& b, unsigned device, unsigned line, unsigned control,
                                  const char* deviceName, bool& bound) {
  unsigned present = device;
  VolumeReading r =
      mixerDeviceFor(device, deviceName, present)
          ? bindMixerControl(b, present, line, control)
          : failedBinding(b, VolumeFailure::NoMixerDevice);  // the named device is absent
  bound = b.kind == BindingKind::Winmm;
  return r;
}

bool boundToMixerControl(const Binding& b, unsigned line, unsigned control) {
  return b.kind == BindingKind::Winmm && b.winmm.controlId == control && b.winmm.lineId == line;
}
