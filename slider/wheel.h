#pragma once
#include "slider/slider.h"

// A turn of the mouse wheel over the slider, or a tilt (right is louder):
// each whole notch steps the level by wheelStep per cent, written like a
// drag, and the tooltip shows the result for a moment. Unbound, or during a
// knob drag, nothing happens.
void turnWheel(Slider& s, int delta);
