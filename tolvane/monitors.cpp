#include "tolvane/monitors.h"

MonitorLookup& monitorLookup() {
  static MonitorLookup lookup = {MonitorFromRect, GetMonitorInfoA};
  return lookup;
}

bool monitorWorkArea(const RECT& rect, RECT* work) {
  HMONITOR monitor = monitorLookup().fromRect(&rect, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!monitor || !monitorLookup().info(monitor, &info)) return false;
  *work = info.rcWork;
  return true;
}
