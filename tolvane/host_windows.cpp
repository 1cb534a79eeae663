// Sticky windows and snapping to the edges of a monitor's work area.
#include <windows.h>

#include <climits>

#include "host/host_api.h"
#include "tolvane/host_state.h"
#include "tolvane/monitors.h"
#include "tolvane/snap.h"

namespace {

// A window far out at the edge of the coordinate range ends at that edge.
LONG farEdge(int position, int extent) {
  const long long edge = static_cast<long long>(position) + extent;
  return static_cast<LONG>(edge > INT_MAX ? INT_MAX : edge < INT_MIN ? INT_MIN : edge);
}

}  // namespace

extern "C" {

void MakeSticky(HWND window) {
  if (window) hostState().sticky.insert(window);
}

void RemoveSticky(HWND window) { hostState().sticky.erase(window); }

// `flags` is reserved and passed as 0.
void SnapWindowToEdge(WINDOWPOS* pending, int distance, int) {
  if (!pending || (pending->flags & SWP_NOMOVE)) return;
  int width = pending->cx, height = pending->cy;
  RECT current;
  if ((pending->flags & SWP_NOSIZE) && pending->hwnd && GetWindowRect(pending->hwnd, &current)) {
    width = current.right - current.left;
    height = current.bottom - current.top;
  }
  // The pending rectangle, not the window's current one, says where it lands.
  const RECT landing = {pending->x, pending->y, farEdge(pending->x, width),
                        farEdge(pending->y, height)};
  RECT work;
  if (!monitorWorkArea(landing, &work)) return;
  const SnapArea area = {work.left, work.top, work.right, work.bottom};
  int x = pending->x, y = pending->y;
  snapToArea(&x, &y, width, height, area, distance);
  pending->x = x;
  pending->y = y;
}

}  // extern "C"
