#include "slider/slider.h"

LRESULT Slider::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTCAPTION;
    case WM_PAINT: paintSlider(hwnd); return 0;
    case WM_CLOSE: return 0;
    case MM_MIXM_CONTROL_CHANGE: handleControlChange(static_cast<unsigned>(lParam)); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}
