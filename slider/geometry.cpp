#include "slider/geometry.h"

int knobTravel(const SliderSize& size) { return size.width - 2 * size.margin - size.knobWidth; }

int knobFromFraction(double fraction, int travel) {
  return static_cast<int>(static_cast<double>(travel) * fraction + 0.5);
}

int knobUnderPointer(int pointerX, int knobWidth, int margin, int limit) {
  int p = pointerX - knobWidth / 2 - margin;
  if (p < 0) p = 0;
  if (p > limit) p = limit;
  return p;
}

double fractionFromKnob(int knobPos, int travel, double current) {
  if (travel == 0) {
    if (!(current >= 0.0)) return 0.0;  // also catches NaN
    return current > 1.0 ? 1.0 : current;
  }
  return static_cast<double>(knobPos) / static_cast<double>(travel);
}

SliderLayout layoutFor(const SliderSize& size, int knobPos) {
  SliderLayout l;
  l.trackLeft = size.margin;
  l.trackRight = size.width - size.margin;
  l.trackTop = size.height / 2 - size.trackHeight / 2;
  l.trackBottom = l.trackTop + size.trackHeight;
  l.knobLeft = size.margin + knobPos;
  l.knobRight = l.knobLeft + size.knobWidth;
  l.knobTop = l.trackTop - (size.knobHeight - size.trackHeight) / 2;
  l.knobBottom = l.knobTop + size.knobHeight;
  return l;
}
