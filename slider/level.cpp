// The one point through which the wheel, the step commands and the tooltip
// reach what the slider is bound to.
#include "mixer/bound_volume.h"
#include "slider/slider.h"

bool Slider::levelBound() const { return volumeBound(*this); }

double Slider::level() const { return value; }

void Slider::setLevel(double newLevel) {
  if (!levelBound()) return;
  value = newLevel;
  updateKnobFromValue();  // clamps the value into [0, 1]
  writeVolume(*this);
  InvalidateRect(window, nullptr, FALSE);
}

// In doubles: a step of any 32-bit size only runs into an end.
void Slider::stepLevel(double percent) { setLevel(level() + percent / 100.0); }

const char* Slider::levelName() const { return volumeName[0] != '\0' ? volumeName : "Volume"; }
