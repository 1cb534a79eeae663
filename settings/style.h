#pragma once
#include <windows.h>

#include "host/texture.h"

// The look of the slider, read from the host's current style file.
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

void readStyle();
