#pragma once
#include <cstdio>

#include "slider/slider.h"

// A slider's own key in the settings file: "kvslider.slider2.x:" for "x:".
struct SliderKey {
  char text[64];
  SliderKey(const Slider& s, const char* suffix) {
    std::snprintf(text, sizeof text, "kvslider.%s.%s", s.name, suffix);
  }
  operator const char*() const { return text; }
};
