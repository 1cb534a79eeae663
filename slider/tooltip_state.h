#pragma once
#include <windows.h>

// The tooltip's own window, destroyed when this lets go of it.
class TooltipWindow {
 public:
  TooltipWindow() = default;
  ~TooltipWindow() { reset(); }
  TooltipWindow(const TooltipWindow&) = delete;
  TooltipWindow& operator=(const TooltipWindow&) = delete;

  void reset(HWND window = nullptr) {
    if (window_ != nullptr && window_ != window) DestroyWindow(window_);
    window_ = window;
  }
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// A slider's tooltip: made when first needed, gone with the slider window.
struct TooltipState {
  TooltipWindow window;
  unsigned reasons = 0;   // TooltipReason bits
  bool watching = false;  // the pointer's rest and leave are asked for
  bool active = false;
  char text[96] = "";
  POINT at = {};
  SIZE size = {};  // of the tooltip window as last shown
};
