#pragma once
// Which monitor a rectangle is on, and its work area.
#include <windows.h>

// The system's monitor functions by default. A test display has one monitor;
// host tests put a desk of several in their place.
struct MonitorLookup {
  HMONITOR(WINAPI* fromRect)(LPCRECT rect, DWORD flags);
  BOOL(WINAPI* info)(HMONITOR monitor, LPMONITORINFO info);
};
MonitorLookup& monitorLookup();

// The work area of the monitor `rect` is mostly on (the nearest one when it is
// on none); false when no monitor answers.
bool monitorWorkArea(const RECT& rect, RECT* work);
