#pragma once
// The words of a texture text ("Raised Gradient Vertical Bevel2 Interlaced")
// and the Texture record they fill.
#include "host/texture.h"

// Relief, word 0.
enum TextureRelief : int32_t { ReliefFlat = 0, ReliefRaised = 1, ReliefSunken = 2 };
// Bevel position, word 1: 0 without relief, 1 at the outer edge, 2 one bevel width inside.
enum TextureBevelPosition : int32_t { BevelNone = 0, BevelOuter = 1, BevelInner = 2 };
// Fill, word 2.
enum TextureFill : int32_t {
  FillSolid = 0,
  FillHorizontal = 1,      // from at the left to "to" at the right
  FillVertical = 2,        // from at the top to "to" at the bottom
  FillDiagonal = 3,        // from top-left to bottom-right
  FillCrossDiagonal = 4,   // from top-right to bottom-left
  FillPipeHorizontal = 5,  // "to" in the middle column, from at both sides
  FillPipeVertical = 6,    // "to" in the middle row, from at top and bottom
  FillElliptic = 7,        // from in the centre to "to" at the corners, round
  FillRectangle = 8,       // from in the centre to "to" at the border, square rings
  FillPyramid = 9,         // from in the centre to "to" at the border, diamond rings
};
enum : uint8_t { TextureFlagKnownWords = 1 };  // byte 12: at least one word was understood

// Fills the whole record from the text (any order, any letter case; unknown
// words ignored). Returns false when no word was understood: the record then
// holds the defaults, flat and solid.
bool parseTextureWords(const char* text, Texture* texture);
