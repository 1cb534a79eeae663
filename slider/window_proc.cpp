// The slider window's messages. The whole window answers the hit test as a
// caption, so outside a knob drag the mouse arrives as non-client messages in
// screen coordinates, and a left press handed to default handling lets the
// system move the window. A knob drag holds the capture; its input arrives as
// client messages in window coordinates. The menu is asked for as any window
// asks, with WM_CONTEXTMENU: the plug-in's top layer answers it, as it
// answers the host's commands.
#include "host/host_api.h"
#include "host/host_messages.h"
#include "slider/accessible.h"
#include "slider/keys.h"
#include "slider/paint_buffer.h"
#include "slider/slider.h"
#include "slider/tooltip.h"
#include "slider/wheel.h"

namespace {

constexpr int kSnapDistance = 10;

// Screen points travel as two 16-bit halves; the window's origin is taken off
// in the same width, so a window partly left of or above the screen still
// gives the right offset.
int offset16(unsigned half, int origin) {
  const unsigned diff = (half - static_cast<unsigned>(origin)) & 0xFFFFu;
  return static_cast<short>(static_cast<unsigned short>(diff));
}

// lParam: the pointer in screen coordinates.
LRESULT askForMenu(HWND hwnd, LPARAM lParam) {
  SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
  return 0;
}

bool hitsTrack(const Slider& s, int px, int py) {
  return s.trackRectLeft <= px && px <= s.trackRectRight && s.knobRectTop <= py &&
         py <= s.knobRectBottom;
}

LRESULT onLeftPress(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  takeFocus(s);  // as a click on any window does; under wine a click alone does not
  const auto packed = static_cast<DWORD>(lParam);
  const int px = offset16(LOWORD(packed), s.x);
  const int py = offset16(HIWORD(packed), s.y);
  if (!hitsTrack(s, px, py))
    return s.draggable ? DefWindowProcA(hwnd, WM_NCLBUTTONDOWN, wParam, lParam) : 0;
  if (!s.levelBound()) return askForMenu(hwnd, lParam);
  s.setKnobFromPointer(px);
  s.updateValueFromKnob();
  SetCapture(s.window);
  s.dragging = true;
  s.writeLevel();
  s.repaint();
  showTooltip(s, kTipDrag);
  return 0;
}

LRESULT onRelease(Slider& s) {
  ReleaseCapture();  // sends WM_CAPTURECHANGED, which ends the drag as well
  s.dragging = false;
  dragEnded(s);
  return 0;
}

LRESULT onDragTo(Slider& s, int pointerX) {
  s.setKnobFromPointer(pointerX);
  s.updateValueFromKnob();
  s.writeLevel();
  s.repaint();
  return 0;
}

LRESULT onCaptureLost(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  s.dragging = false;
  dragEnded(s);
  return DefWindowProcA(hwnd, WM_CAPTURECHANGED, wParam, lParam);
}

// Handles the messages that only matter during a knob drag; false for the rest.
bool onDragMessage(Slider& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                   LRESULT& result) {
  const auto packed = static_cast<DWORD>(lParam);
  switch (message) {
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: result = onRelease(s); return true;
    case WM_NCMOUSEMOVE: result = onDragTo(s, offset16(LOWORD(packed), s.x)); return true;
    case WM_MOUSEMOVE: result = onDragTo(s, offset16(LOWORD(packed), 0)); return true;
    case WM_CAPTURECHANGED: result = onCaptureLost(s, hwnd, wParam, lParam); return true;
    default: return false;
  }
}

LRESULT onPositionChanging(const Slider& s, HWND hwnd, WINDOWPOS* pending) {
  if (pending != nullptr && s.snapWindow && IsWindowVisible(hwnd))
    SnapWindowToEdge(pending, kSnapDistance, 0);
  return 0;
}

LRESULT onPositionChanged(Slider& s, const WINDOWPOS* done) {
  if (done != nullptr) {
    s.x = done->x;
    s.y = done->y;
  }
  refreshTooltip(s);  // keeps it beside the window as that moves
  return 0;
}

// A middle click toggles the mute, on the release over the window, as a
// button would: a press whose pointer leaves the window is given up. The
// second press of a quick double click is a press like the first.
LRESULT onMiddlePress(Slider& s) {
  s.mutePressed = true;
  watchPointer(s);  // its leave gives the press up
  return 0;
}

LRESULT onMiddleRelease(Slider& s) {
  if (!s.mutePressed) return 0;  // pressed elsewhere, released here
  s.mutePressed = false;
  if (s.toggleMute()) flashTooltip(s);
  return 0;
}

LRESULT onPointerLeft(Slider& s) {
  s.mutePressed = false;
  pointerLeft(s);
  return 0;
}

// A window hidden under a held knob (the shell hid the plug-ins) ends the
// drag: moves no one can see must not set the volume, nor the tooltip stay.
LRESULT onShowWindow(Slider& s, HWND hwnd, WPARAM shown, LPARAM lParam) {
  if (shown == FALSE) {
    if (s.dragging) ReleaseCapture();  // its WM_CAPTURECHANGED ends the drag
    s.dragging = false;
    s.mutePressed = false;
    windowHidden(s);
  }
  return DefWindowProcA(hwnd, WM_SHOWWINDOW, shown, lParam);
}

// The style and the settings file's place are read anew before this.
LRESULT onReload(Slider& s) {
  s.applyWindowState();
  s.repaint();
  return 0;
}

// The tooltip follows what the slider shows: updating it per drag step would
// cost more than the step itself, while paints come only as fast as they are seen.
LRESULT onPaint(Slider& s, HWND hwnd) {
  s.paintSlider(hwnd);
  refreshTooltip(s);
  return 0;
}

// The tooltip's moment, or a notification whose re-read was put off.
LRESULT onTimer(Slider& s, HWND hwnd, WPARAM id, LPARAM lParam) {
  UINT notice = 0;
  if (noticeOfTimer(id, notice)) {
    KillTimer(hwnd, id);
    s.followNotice(notice, 0);
    return 0;
  }
  if (id != kTooltipTimer) return DefWindowProcA(hwnd, WM_TIMER, id, lParam);
  tooltipMomentOver(s);
  return 0;
}

// What the window holds goes with it, and so at stop too.
LRESULT onDestroy(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  disconnectClients(s);  // while the window exists: UI Automation needs it to let go
  destroyTooltip(s);
  s.paintBuffer.release();
  return DefWindowProcA(hwnd, WM_DESTROY, wParam, lParam);
}

}  // namespace

LRESULT Slider::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCLBUTTONDOWN) return onLeftPress(*this, hwnd, wParam, lParam);
  LRESULT result = 0;
  if (dragging && onDragMessage(*this, hwnd, message, wParam, lParam, result)) return result;
  if (isVolumeNotice(message)) {
    followNotice(message, lParam);
    return 0;
  }
  switch (message) {
    case WM_NCHITTEST: return HTCAPTION;
    case WM_PAINT: return onPaint(*this, hwnd);
    case WM_CLOSE: return 0;  // the window lives as long as the plug-in runs
    case WM_WINDOWPOSCHANGING:
      return onPositionChanging(*this, hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGED:
      return onPositionChanged(*this, reinterpret_cast<const WINDOWPOS*>(lParam));
    // Default handling of a right press on a caption may track the button itself
    // and swallow its release, and then the menu below would never open.
    case WM_NCRBUTTONDOWN: return 0;
    case WM_NCRBUTTONUP: return askForMenu(hwnd, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: turnWheel(*this, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_NCMOUSEMOVE: watchPointer(*this); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_NCMOUSEHOVER: showTooltip(*this, kTipPointerRests); return 0;
    case WM_NCMOUSELEAVE: return onPointerLeft(*this);
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK: return onMiddlePress(*this);
    case WM_NCMBUTTONUP: return onMiddleRelease(*this);
    case WM_TIMER: return onTimer(*this, hwnd, wParam, lParam);
    case WM_SHOWWINDOW: return onShowWindow(*this, hwnd, wParam, lParam);
    case WM_DESTROY: return onDestroy(*this, hwnd, wParam, lParam);
    case WM_KEYDOWN: return onKeyDown(*this, hwnd, wParam, lParam);
    case WM_SETFOCUS: return focusChanged(*this, true);
    case WM_KILLFOCUS: return focusChanged(*this, false);
    case WM_GETOBJECT: return answerObjectRequest(*this, hwnd, wParam, lParam);
    case HostMsgReload: return onReload(*this);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}
