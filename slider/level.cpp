// The one point through which the slider reaches what it is bound to: the
// binding reads and writes, and what it returns is put on the knob, the
// tooltip (through the repaint) and the shell's status text here alone.
#include "host/host_messages.h"
#include "host/module_values.h"
#include "slider/announce.h"
#include "slider/slider.h"

namespace {

const char* statusText(VolumeFailure failure) {
  switch (failure) {
    case VolumeFailure::NoMixerDevice: return "Unable to open mixer device.";
    case VolumeFailure::NoEndpoint: return "Unable to open audio endpoint.";
    case VolumeFailure::SetRefused: return "Unable to set the volume.";
    case VolumeFailure::NoApp: return "Unable to find the application.";
    case VolumeFailure::None: break;
  }
  return nullptr;
}

}  // namespace

void Slider::take(const VolumeReading& r) {
  if (const char* text = statusText(r.failure))
    SendMessageA(hostWindow, HostMsgStatusText, 0, reinterpret_cast<LPARAM>(text));
  bool changed = r.rebound;
  if (r.rebound) muted = false;
  if (r.hasLevel) {
    const int old = knobPos;
    value = r.level;
    updateKnobFromValue();
    changed = changed || knobPos != old;
  }
  if (r.hasMute && r.muted != muted) {
    muted = r.muted;
    changed = true;
  }
  if (changed) repaint();  // the old binding's knob must not stay on screen either
  announceChange(*this, r.rebound);
}

// During a drag the knob follows the mouse alone; the mute is followed still.
void Slider::takeNotified(VolumeReading r) {
  if (dragging) r.hasLevel = false;
  take(r);
}

// A new binding, or the end of one, shows whatever a drag is doing.
void Slider::followNotice(UINT message, LPARAM detail) {
  const VolumeReading r = ::followNotice(binding, message, detail);
  if (r.rebound)
    take(r);
  else
    takeNotified(r);
}

void Slider::unbindControl() { take(unbindVolume(binding)); }

void Slider::writeLevel() { take(writeVolumeLevel(binding, value)); }

bool Slider::levelBound() const { return volumeBound(binding); }

double Slider::level() const { return value; }

void Slider::setLevel(double newLevel) {
  if (!levelBound()) return;
  const AnnouncementsHeld held(*this);  // told once, what the device took
  value = newLevel > binding.ceiling ? binding.ceiling : newLevel;
  updateKnobFromValue();  // clamps the value into [0, 1]
  writeLevel();
  take(readBackVolumeLevel(binding, value));  // nothing else shows what the device took
  repaint();
}

// In doubles: a step of any 32-bit size only runs into an end.
void Slider::stepLevel(double percent) { setLevel(level() + percent / 100.0); }

const char* Slider::levelName() const {
  const char* bound = volumeName(binding);
  return bound[0] != '\0' ? bound : "Volume";
}

bool Slider::levelMuted() const { return levelBound() && muted; }

// The device is asked first: the state shown may be stale (wine's mixer never
// notifies), and a toggle must flip what the device really has.
bool Slider::toggleMute() {
  bool now = false;
  if (!readVolumeMute(binding, now)) return false;
  writeVolumeMute(binding, !now);
  followMute();  // shows what the device took, also when it refused
  return true;
}

void Slider::followMute() {
  VolumeReading r;
  r.hasMute = readVolumeMute(binding, r.muted);
  take(r);
}

void Slider::setCeiling(int percent) {
  ceiling = percent < 1 || percent > 100 ? 100 : percent;
  binding.ceiling = ceiling / 100.0;
  if (levelBound() && value > binding.ceiling) setLevel(binding.ceiling);
  repaint();  // the track beyond it changes colour
}
