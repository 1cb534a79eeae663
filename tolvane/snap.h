#pragma once
// Moving a window's pending position onto the edges of an area.
#include <cstdint>

struct SnapArea {
  int32_t left, top, right, bottom;
};

// Moves (x, y) of a width x height window so that an edge within `distance`
// pixels of the area's matching edge lies on it. The left and top edges win
// when both edges of an axis are within reach.
void snapToArea(int32_t* x, int32_t* y, int32_t width, int32_t height, const SnapArea& area,
                int32_t distance);
