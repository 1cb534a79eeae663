#pragma once
// Reading back what a window shows on screen.
#include <windows.h>

// Invalidates the whole client area (or just `part`) and paints it now.
void repaintNow(HWND window, const RECT* part = nullptr);

// The colour at client point (x, y), read from the window's device context.
COLORREF pixelAt(HWND window, int x, int y);
