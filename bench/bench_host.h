#pragma once
// A light host for benchmarks: answers reads with defaults, paints gradients as
// plain fills and keeps menus as counts only, timing its own share of the work.
#include <windows.h>

namespace benchhost {
void setHostWindow(HWND window);
void setSliderList(const char* list);  // what the settings file lists, "" for none
double gradientSeconds();              // time spent inside MakeGradient since the last reset
int menuCalls();                       // MakeMenu / MakeSubmenu / MakeMenuItem / MakeMenuNOP calls
void resetCounters();
}  // namespace benchhost
