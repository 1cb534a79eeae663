#include "slider/slider.h"

#include <cstdio>

#include "mixer/callbacks.h"
#include "slider/geometry.h"

namespace {
SliderSize sizeOf(const Slider& s) {
  return {s.width, s.height, s.margin, s.knobWidth, s.knobHeight, s.trackHeight};
}
}  // namespace

void Slider::initialise(int sliderNumber) {
  number = sliderNumber;
  std::snprintf(name, sizeof name, "slider%d", sliderNumber);
  setEventContext(binding, volumeContextFor(sliderNumber));
  window = nullptr;
  maxValue = 1.0;
  minValue = 0.0;
  value = 0.5;
  x = 100;
  y = 100;
  width = 200;
  height = 24;
  alwaysOnTop = true;
  snapWindow = true;
  pluginsHidden = false;
  toggleWithPlugins = false;
  transparent = false;
  alpha = 100;
  wheelStep = 2;
  wheelRemainder = 0;
  ceiling = 100;
  binding.ceiling = 1.0;
  muted = false;
  mutePressed = false;
  updateKnobFromValue();
}

void Slider::repaint() const {
  // A null window here would invalidate every window on the desktop.
  if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

int Slider::travel() const { return knobTravel(sizeOf(*this)); }

void Slider::updateKnobFromValue() {
  if (value < minValue || value != value) value = minValue;
  if (value > maxValue) value = maxValue;
  knobPos = knobFromFraction((value - minValue) / (maxValue - minValue), travel());
}

// The knob stops at the ceiling.
void Slider::setKnobFromPointer(int pointerX) {
  int limit = trackRectRight - trackRectLeft - knobWidth;
  const int highest = knobFromFraction(binding.ceiling, travel());
  if (highest < limit) limit = highest;
  knobPos = knobUnderPointer(pointerX, knobWidth, margin, limit);
}

void Slider::updateValueFromKnob() {
  value = minValue + fractionFromKnob(knobPos, travel(), value - minValue);
  if (value > binding.ceiling) value = binding.ceiling;  // the knob's rounding may pass it
}

void Slider::computeLayout() {
  const SliderLayout l = layoutFor(sizeOf(*this), knobPos);
  trackRectLeft = l.trackLeft;
  trackRectRight = l.trackRight;
  trackRectTop = l.trackTop;
  trackRectBottom = l.trackBottom;
  knobRectLeft = l.knobLeft;
  knobRectRight = l.knobRight;
  knobRectTop = l.knobTop;
  knobRectBottom = l.knobBottom;
}

// Only on the window's own thread: anywhere else its slider must not be
// touched. A handle used again by another window of another class is no
// slider's.
Slider* sliderOfWindow(HWND window) {
  char kind[16];
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() ||
      GetClassNameA(window, kind, sizeof kind) == 0 || lstrcmpA(kind, kSliderClass) != 0)
    return nullptr;
  return reinterpret_cast<Slider*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void carrySlider(HWND window, Slider* s) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
}
