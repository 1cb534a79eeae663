// Slider geometry from arbitrary stored sizes: whatever the settings file held,
// the arithmetic wraps as 32-bit integers and the knob stays within its track.
#include <cstdint>
#include <cstring>

#include "slider/geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t v[8] = {};
  double fraction = 0.0;
  if (size < sizeof v + sizeof fraction) return 0;
  std::memcpy(v, data, sizeof v);
  std::memcpy(&fraction, data + sizeof v, sizeof fraction);
  const SliderSize s = {v[0], v[1], v[2], v[3], v[4], v[5]};
  const int travel = knobTravel(s);
  if (travel >= 0 && fraction >= 0.0 && fraction <= 1.0) {
    const int knob = knobFromFraction(fraction, travel);
    if (knob < 0 || knob > travel) __builtin_trap();
    const double back = fractionFromKnob(knob, travel, fraction);
    if (!(back >= 0.0 && back <= 1.0)) __builtin_trap();
  }
  const SliderLayout l = layoutFor(s, v[6]);
  const int p =
      knobUnderPointer(v[7], s.knobWidth, s.margin, l.trackRight - l.trackLeft - s.knobWidth);
  if (p < 0 && l.trackRight - l.trackLeft - s.knobWidth >= 0) __builtin_trap();
  return 0;
}
