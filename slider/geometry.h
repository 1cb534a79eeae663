#pragma once
// Pixel geometry of the slider, free of any platform type so that it can be
// tested and fuzzed natively. All halvings truncate toward zero.

struct SliderLayout {
  int trackLeft, trackRight, trackTop, trackBottom;
  int knobLeft, knobRight, knobTop, knobBottom;
};

struct SliderSize {
  int width, height, margin, knobWidth, knobHeight, trackHeight;
};

// Pixels the knob can move: width - 2 * margin - knobWidth.
int knobTravel(const SliderSize& size);

// fraction in [0, 1] -> knob offset, rounded half up.
int knobFromFraction(double fraction, int travel);

// Knob offset centred under pointerX, clamped first below at 0 then above at limit.
int knobUnderPointer(int pointerX, int knobWidth, int margin, int limit);

// Knob offset -> fraction. With no travel the knob cannot express a value, so
// the current one (clamped into [0, 1]) is kept rather than dividing 0 by 0.
double fractionFromKnob(int knobPos, int travel, double current);

SliderLayout layoutFor(const SliderSize& size, int knobPos);
