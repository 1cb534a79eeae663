#pragma once
#include <windows.h>

// A slider's tooltip: made when first needed, gone with the slider window.
struct TooltipState {
  HWND window;
  unsigned reasons;  // TooltipReason bits
  bool watching;     // the pointer's rest and leave are asked for
  bool active;
  char text[96];
  POINT at;
  SIZE size;  // of the tooltip window as last shown
};
