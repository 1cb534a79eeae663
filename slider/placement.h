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

// The rectangle of the monitor nearest r (r itself if the system names none).
RECT monitorNearest(const RECT& r);

// For tests: answers in the system's place (MonitorFromRect with flags, then
// the monitor's rectangle; false for no monitor); null gives the system's back.
typedef bool (*MonitorLookup)(const RECT& r, DWORD flags, RECT& monitor);
void setMonitorLookup(MonitorLookup lookup);
