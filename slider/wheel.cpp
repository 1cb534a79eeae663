#include "slider/wheel.h"

#include "slider/tooltip.h"
#include "slider/wheel_notches.h"

void turnWheel(Slider& s, int delta) {
  if (!s.levelBound() || s.dragging) return;
  const int notches = takeWheelNotches(s.wheelRemainder, delta);
  if (notches == 0) return;
  const double step = notches > 0 ? s.wheelStep : -s.wheelStep;
  for (int i = notches > 0 ? notches : -notches; i > 0; --i) {
    s.stepLevel(step);
    if (s.level() <= 0.0 || s.level() >= s.ceilingLevel()) break;  // more would change nothing
  }
  flashTooltip(s);
}
