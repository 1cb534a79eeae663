#include "plugin/module_state.h"
#include "settings/style.h"

bool Slider::createWindow(HINSTANCE instance, bool layered) {
  const DWORD exStyle = WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0);
  const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  window = CreateWindowExA(exStyle, "KvSlider", nullptr, style, x, y, width, height, nullptr,
                           nullptr, instance, nullptr);
  return window != nullptr;
}

void Slider::destroyWindow() {
  if (window != nullptr) DestroyWindow(window);
  window = nullptr;
}

LRESULT CALLBACK outerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == HostMsgReload) readStyle();
  return slider.windowProc(hwnd, message, wParam, lParam);
}
