#pragma once
// The plug-in's sliders, in the order they were created. The module owns the
// list; each slider owns its record, window, binding, tooltip and buffer.
#include "slider/slider.h"

constexpr int kMaxSliders = 16;

int sliderCount();            // the sliders in use (not those being removed)
Slider* sliderAt(int index);  // in list order; null past the end
Slider* findSlider(const char* name);
int lowestFreeSliderNumber();  // 1..16, or 0 when every number is taken
// A new slider "sliderN" at the end of the list, with its load-time values;
// null when the list is full or there is no memory.
Slider* addSlider(int number);
// Out of the list and gone: its window is destroyed, its binding released.
void dropSlider(Slider* s);
void clearSliders();

// Starting one slider once its settings are read: its window, its binding's
// notifications, its registration with the host and its placement. False
// (the box shown, its binding released) when its window cannot be made.
bool startSlider(Slider& s);
// The user removed it: it leaves the host and the list at once, and is
// deleted as soon as the window procedure calls under way for it return.
void retireSlider(Slider& s);
