#include "slider/placement.h"

#include "slider/slider.h"

bool setLayeredAttributes(HWND, COLORREF, BYTE, DWORD) { return false; }

void Slider::applyWindowState() {
  SetWindowPos(window, alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window, nullptr, FALSE);
}
