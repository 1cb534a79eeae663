#include "tests/support/window_pixels.h"

void repaintNow(HWND window, const RECT* part) {
  InvalidateRect(window, part, FALSE);
  UpdateWindow(window);
}

COLORREF pixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}
