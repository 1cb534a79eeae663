#include "slider/slider_of_window.h"

#include "plugin/module_state.h"

// The class's own procedure, not the window's, so that a window someone
// subclassed still counts. The user data is set at WM_NCCREATE and cleared at
// WM_NCDESTROY.
Slider* sliderOfWindow(HWND window) {
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
    return nullptr;
  if (GetClassLongPtrA(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&outerWindowProc))
    return nullptr;
  return reinterpret_cast<Slider*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
