// The one point through which the wheel, the step commands, the mute and the
// tooltip reach what the slider is bound to.
#include "mixer/bound_volume.h"
#include "slider/slider.h"

bool Slider::levelBound() const { return volumeBound(*this); }

double Slider::level() const { return value; }

void Slider::setLevel(double newLevel) {
  if (!levelBound()) return;
  value = newLevel;
  updateKnobFromValue();  // clamps the value into [0, 1]
  writeVolume(*this);
  showVolumeLevel(*this);  // unlike a drag, nothing else shows what the device took
  repaint();
}

// In doubles: a step of any 32-bit size only runs into an end.
void Slider::stepLevel(double percent) { setLevel(level() + percent / 100.0); }

const char* Slider::levelName() const { return volumeName[0] != '\0' ? volumeName : "Volume"; }

bool Slider::levelMuted() const { return levelBound() && muted; }

// The device is asked first: the state shown may be stale (wine's mixer never
// notifies), and a toggle must flip what the device really has.
bool Slider::toggleMute() {
  bool now = false;
  if (!readVolumeMute(*this, now)) return false;
  writeVolumeMute(*this, !now);
  followMute();  // shows what the device took, also when it refused
  return true;
}

void Slider::followMute() {
  bool now = false;
  if (!readVolumeMute(*this, now) || now == muted) return;
  muted = now;
  repaint();
}
