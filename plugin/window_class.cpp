#include "plugin/window_class.h"

#include "commands/config_menu.h"
#include "host/host_messages.h"
#include "plugin/command_routing.h"
#include "plugin/sliders.h"
#include "settings/settings_file.h"
#include "settings/style.h"

namespace {

// Each window carries its slider from its first message on.
Slider* sliderFor(HWND hwnd, UINT message, LPARAM lParam) {
  if (message != WM_NCCREATE) return sliderOfWindow(hwnd);
  auto* s = static_cast<Slider*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
  carrySlider(hwnd, s);
  return s;
}

// The shell may deliver the chosen command before the menu returns: a
// slider removed from its own menu has no window left to paint.
LRESULT onMenu(Slider& s, HWND hwnd, const SliderCall& call) {
  MenuFacts facts;
  facts.sliders = sliderCount();
  facts.keptFromFile = keptFromFile(s, storedBindingOf(s));
  showConfigMenu(s, facts);
  if (!call.going()) s.paintSlider(hwnd);
  return 0;
}

// The style and the settings file's place are read anew before the slider
// applies them.
LRESULT onReload(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  readStyle();
  locateSettings();
  return s.windowProc(hwnd, HostMsgReload, wParam, lParam);
}

LRESULT CALLBACK outerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Slider* s = sliderFor(hwnd, message, lParam);
  if (s == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) carrySlider(hwnd, nullptr);
  const SliderCall call(*s);
  switch (message) {
    case HostMsgCommand:
      if (!call.going()) routeCommand(*s, reinterpret_cast<const char*>(lParam));
      return 0;
    case WM_CONTEXTMENU: return onMenu(*s, hwnd, call);
    case HostMsgReload: return onReload(*s, hwnd, wParam, lParam);
    default: return s->windowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool registerSliderClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = outerWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kSliderClass;
  return RegisterClassA(&wc) != 0;
}

void unregisterSliderClass(HINSTANCE instance) { UnregisterClassA(kSliderClass, instance); }
