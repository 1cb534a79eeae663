#include "slider/placement.h"

#include <climits>

#include "slider/slider.h"

namespace {
typedef BOOL(WINAPI* SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);

LayeredLookup lookupState;
SetLayeredFn setLayered;
// The system's answer: the monitor's rectangle, if there is such a monitor.
bool systemMonitor(const RECT& r, DWORD flags, RECT& monitor) {
  HMONITOR handle = MonitorFromRect(&r, flags);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (handle == nullptr || !GetMonitorInfoA(handle, &info)) return false;
  monitor = info.rcMonitor;
  return true;
}

MonitorLookup monitorLookup = systemMonitor;

LONG edge(long long origin, long long extent) {
  const long long e = origin + extent;
  return static_cast<LONG>(e > INT_MAX ? INT_MAX : e < INT_MIN ? INT_MIN : e);
}

// alpha per cent -> opacity byte, truncated. Clamped while still a double: a
// percentage far out of range would not fit the integer it is truncated into.
BYTE opacityByte(int alpha) {
  const double a = alpha * 0.01 * 255.0;
  if (a < 0.0) return 0;
  if (a > 255.0) return 255;
  return static_cast<BYTE>(static_cast<int>(a));
}
}  // namespace

bool setLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  if (lookupState == LayeredLookup::NotLookedUp) {
    // Older systems lack the function; looking it up by name lets the module
    // load there anyway.
    HMODULE user32 = GetModuleHandleA("USER32");
    setLayered = user32 != nullptr ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                         GetProcAddress(user32, "SetLayeredWindowAttributes")))
                                   : nullptr;
    lookupState = setLayered != nullptr ? LayeredLookup::Present : LayeredLookup::Absent;
  }
  if (lookupState != LayeredLookup::Present) return false;
  return setLayered(window, key, alpha, flags) != FALSE;
}

bool touchesAnyMonitor(int x, int y, int width, int height) {
  const RECT r = {x, y, edge(x, width), edge(y, height)};
  RECT monitor;
  return monitorLookup(r, MONITOR_DEFAULTTONULL, monitor);
}

RECT monitorNearest(const RECT& r) {
  RECT monitor = r;
  if (!monitorLookup(r, MONITOR_DEFAULTTONEAREST, monitor)) monitor = r;
  return monitor;
}

void setMonitorLookup(MonitorLookup lookup) {
  monitorLookup = lookup != nullptr ? lookup : systemMonitor;
}

LayeredLookup layeredLookupState() { return lookupState; }

void resetLayeredLookup(LayeredLookup state) {
  setLayered = nullptr;
  lookupState = state == LayeredLookup::Absent ? state : LayeredLookup::NotLookedUp;
}

// A slider that follows the plug-ins hides while the host has them hidden.
// Hiding touches nothing else; only a later full pass shows the window again.
void Slider::applyWindowState() {
  if (pluginsHidden && toggleWithPlugins) {
    ShowWindow(window, SW_HIDE);
    return;
  }
  setLayeredAttributes(window, 0, transparent ? opacityByte(alpha) : 255, LWA_ALPHA);
  SetWindowPos(window, alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  repaint();
}
