#include "slider/keys.h"

#include "slider/announce.h"
#include "slider/tooltip.h"

namespace {

constexpr LPARAM kRepeat = 1 << 30;  // the key was down already

// False for a key that is not the slider's, or a mute with nothing to mute.
bool act(Slider& s, WPARAM key, bool repeat) {
  switch (key) {
    case VK_RIGHT:
    case VK_UP: s.stepLevel(s.wheelStep); return true;
    case VK_LEFT:
    case VK_DOWN: s.stepLevel(-s.wheelStep); return true;
    case VK_PRIOR: s.stepLevel(kPageStep); return true;
    case VK_NEXT: s.stepLevel(-kPageStep); return true;
    case VK_HOME: s.setLevel(0.0); return true;
    case VK_END: s.setLevel(1.0); return true;
    case VK_SPACE:
    case 'M': return !repeat && s.toggleMute();  // held, it would flicker
    default: return false;
  }
}

}  // namespace

LRESULT onKeyDown(Slider& s, HWND hwnd, WPARAM key, LPARAM lParam) {
  if (s.levelBound() && !s.dragging && act(s, key, (lParam & kRepeat) != 0)) {
    flashTooltip(s);
    return 0;
  }
  return DefWindowProcA(hwnd, WM_KEYDOWN, key, lParam);
}

LRESULT focusChanged(Slider& s, bool has) {
  announceFocus(s, has);
  s.repaint();
  return 0;
}

// The system may refuse to bring the window forward (another program has the
// user's attention); the focus is then taken within the shell's own windows.
void takeFocus(Slider& s) {
  if (s.window == nullptr || !IsWindowVisible(s.window)) return;
  SetForegroundWindow(s.window);
  SetFocus(s.window);
}
