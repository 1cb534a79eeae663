#include "plugin/module_state.h"
#include "plugin/slider_list.h"
#include "settings/settings_file.h"
#include "settings/style.h"

namespace {

// Each window carries its slider from its first message on.
Slider* sliderOf(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* s = static_cast<Slider*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    return s;
  }
  return reinterpret_cast<Slider*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

// Made hidden: a window made visible is activated and takes the keyboard
// focus, and the keys meant for the shell would then set the volume. The
// placement shows it without activating it.
bool Slider::createWindow(HINSTANCE instance, bool layered) {
  const DWORD exStyle = WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0);
  const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  window = CreateWindowExA(exStyle, "KvSlider", nullptr, style, x, y, width, height, nullptr,
                           nullptr, instance, this);
  return window != nullptr;
}

void Slider::destroyWindow() {
  if (window != nullptr) DestroyWindow(window);
  window = nullptr;
}

void Slider::registerWithHost() {
  SendMessageA(hostWindow, HostMsgRegister, reinterpret_cast<WPARAM>(window),
               reinterpret_cast<LPARAM>(hostMessages));
  MakeSticky(window);
}

void Slider::unregisterFromHost() {
  if (window == nullptr) return;
  RemoveSticky(window);
  SendMessageA(hostWindow, HostMsgUnregister, reinterpret_cast<WPARAM>(window),
               reinterpret_cast<LPARAM>(hostMessages));
}

bool startSlider(Slider& s) {
  if (!s.createWindow(moduleInstance, layeredWindowsAvailable)) {
    MessageBoxA(nullptr, "Error creating window", kPluginTitle, MB_TOPMOST | MB_ICONERROR);
    releaseBinding(s.binding);
    return false;
  }
  directNotificationsTo(s.binding, s.window);
  s.take(restoreStoredEndpoint(s.binding, s.window));
  s.take(restoreStoredApp(s.binding, s.window));
  s.registerWithHost();
  s.applyWindowState();
  return true;
}

void retireSlider(Slider& s) {
  s.unregisterFromHost();
  releaseBinding(s.binding);
  s.destroyWindow();
  s.removing = true;  // only now: the destruction's own messages must not delete it
  if (s.callDepth == 0) dropSlider(&s);  // no window message of its own is under way
}

LRESULT CALLBACK outerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Slider* s = sliderOf(hwnd, message, lParam);
  if (s == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  if (message == HostMsgReload) readStyle();
  ++s->callDepth;
  const LRESULT result = s->windowProc(hwnd, message, wParam, lParam);
  // A slider removed while handling this message goes once nothing of it runs.
  if (--s->callDepth == 0 && s->removing) dropSlider(s);
  return result;
}
