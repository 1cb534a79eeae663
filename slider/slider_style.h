#pragma once
#include <windows.h>

#include "host/texture.h"

// The look of the sliders, as the host's current style gives it (read by
// settings/style.cpp): the same for every slider.
struct SliderStyle {
  Texture frameTexture;
  COLORREF frameColor;
  COLORREF frameColorTo;
  Texture trackTexture;
  COLORREF trackColor;
  COLORREF trackColorTo;
  Texture knobTexture;
  COLORREF knobColor;
  COLORREF knobColorTo;
  COLORREF borderColor;
  int bevelWidth;
  int borderWidth;
};

extern SliderStyle sliderStyle;
