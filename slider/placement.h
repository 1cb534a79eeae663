#pragma once
#include <windows.h>

// SetLayeredWindowAttributes where the system has it; false where it does not.
// The function is looked up by name once in the module's life.
bool setLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);

// Where that lookup stands: it moves only from NotLookedUp to Absent or Present.
enum class LayeredLookup : unsigned char { NotLookedUp = 0, Absent = 1, Present = 2 };
LayeredLookup layeredLookupState();

// For tests: start the lookup afresh (NotLookedUp), or behave from now on as a
// system without the function would (Absent).
void resetLayeredLookup(LayeredLookup state);

// Whether a window with this rectangle would show, even in part, on some
// monitor of the desktop (sums that leave 32 bits are cut off at its ends).
bool touchesAnyMonitor(int x, int y, int width, int height);

// For tests: answers in MonitorFromRect's place; null gives the system's back.
typedef HMONITOR(WINAPI* MonitorLookup)(LPCRECT, DWORD);
void setMonitorLookup(MonitorLookup lookup);
