#include "tolvane/snap.h"

namespace {

int64_t gap(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// Snaps when closer than the distance: a window placed exactly that far from an
// edge (the plug-in's default of 10, 10 with a distance of 10) stays put.
int32_t snapAxis(int32_t pos, int32_t extent, int32_t low, int32_t high, int32_t distance) {
  if (gap(pos, low) < distance) return low;
  if (gap(static_cast<int64_t>(pos) + extent, high) < distance)
    return static_cast<int32_t>(static_cast<int64_t>(high) - extent);
  return pos;
}

}  // namespace

void snapToArea(int32_t* x, int32_t* y, int32_t width, int32_t height, const SnapArea& area,
                int32_t distance) {
  if (distance < 0) return;
  *x = snapAxis(*x, width, area.left, area.right, distance);
  *y = snapAxis(*y, height, area.top, area.bottom, distance);
}
