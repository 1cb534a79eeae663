#pragma once
#include <cstdint>

// The host's 16-byte texture description. The plug-in never interprets it:
// ParseItem fills it and MakeGradient gets words 0, 1, 2 and byte 13 back.
struct Texture {
  int32_t bevel;          // word 0: relief (flat, raised, sunken)
  int32_t bevelPosition;  // word 1: where the bevel sits (1 = outer, 2 = inner)
  int32_t gradient;       // word 2: fill shape (solid or a gradient kind)
  uint8_t flags;          // byte 12: host-private flags
  uint8_t interlaced;     // byte 13: alternate lines darkened
  uint8_t reserved[2];    // bytes 14-15
};
static_assert(sizeof(Texture) == 16, "Texture is a 16-byte host record");
