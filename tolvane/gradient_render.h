#pragma once
// Pixels of a filled, bevelled and bordered rectangle, computed without any
// drawing surface so the look can be checked anywhere.
#include <cstdint>

struct GradientLook {
  int32_t fill;       // TextureFill
  uint32_t from, to;  // Windows colour references, 0x00bbggrr
  bool interlaced;
  int32_t relief;  // TextureRelief
  int32_t bevelPosition;
  int32_t bevelWidth;
  uint32_t borderColor;
  int32_t borderWidth;
};

// The colour (0x00bbggrr) of pixel (x, y) of a width x height rectangle.
uint32_t gradientPixel(const GradientLook& look, int32_t width, int32_t height, int32_t x,
                       int32_t y);

// Fills `pixels` (clipWidth x clipHeight, rows top-down, 0x00rrggbb as a 32-bit
// device-independent bitmap holds them) with the part of the rectangle whose
// top-left corner is (clipX, clipY) in the rectangle's coordinates.
void renderGradient(const GradientLook& look, int32_t width, int32_t height, int32_t clipX,
                    int32_t clipY, int32_t clipWidth, int32_t clipHeight, uint32_t* pixels);
