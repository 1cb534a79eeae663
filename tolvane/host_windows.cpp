// Sticky windows and snapping to the work area's edges.
#include <windows.h>

#include "host/host_api.h"
#include "tolvane/host_state.h"
#include "tolvane/snap.h"

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
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  const SnapArea area = {work.left, work.top, work.right, work.bottom};
  int x = pending->x, y = pending->y;
  snapToArea(&x, &y, width, height, area, distance);
  pending->x = x;
  pending->y = y;
}

}  // extern "C"
