#include "slider/tooltip.h"

#include <commctrl.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "host/module_values.h"
#include "slider/placement.h"

namespace {

constexpr int kGap = 2;  // pixels between the slider and the tooltip

// The first size of the record: every comctl32 since tracking tooltips accepts it.
TOOLINFOA toolFor(HWND owner) {
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  ti.hwnd = owner;
  ti.uId = 1;
  return ti;
}

bool create(TooltipState& t, HWND owner) {
  if (t.window.get() != nullptr) return true;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  t.window.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                                 TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 0, 0, 0, 0, owner, nullptr, moduleInstance, nullptr));
  if (t.window.get() == nullptr) return false;
  TOOLINFOA ti = toolFor(owner);
  ti.lpszText = const_cast<char*>("");
  SendMessageA(t.window.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  t.text[0] = '\0';
  t.at = {LONG_MIN, LONG_MIN};
  return true;
}

void describe(const Slider& s, char* text, size_t size) {
  if (!s.levelBound()) {
    std::snprintf(text, size, "Right-click to choose a volume control");
    return;
  }
  // An application not running holds its level for when it starts.
  const char* waiting = volumeRunning(s.binding) ? "" : " (not running)";
  if (s.levelMuted()) {
    std::snprintf(text, size, "%s: muted%s", s.levelName(), waiting);
    return;
  }
  const int percent = static_cast<int>(s.level() * 100.0 + 0.5);
  std::snprintf(text, size, "%s: %d%%%s", s.levelName(), percent, waiting);
}

int clampInt(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

// Centred over the knob (over the slider while there is none), above the
// slider where its monitor has room, else below it.
POINT placeFor(const Slider& s, SIZE tipSize) {
  RECT r;
  GetWindowRect(s.window, &r);
  const RECT m = monitorNearest(r);
  const int centre = s.levelBound() ? r.left + s.margin + s.knobPos + s.knobWidth / 2
                                    : r.left + (r.right - r.left) / 2;
  POINT at;
  at.x = clampInt(centre - tipSize.cx / 2, m.left, m.right - tipSize.cx);
  at.y = r.top - kGap - tipSize.cy >= m.top ? r.top - kGap - tipSize.cy : r.bottom + kGap;
  return at;
}

// The track position travels as two 16-bit halves, and a control that reads
// them unsigned (wine's does for x) puts a place left of or above the primary
// monitor far off to the right: the window is then put where it belongs.
void moveTo(TooltipState& t, POINT at) {
  if (at.x != t.at.x || at.y != t.at.y) {
    t.at = at;
    SendMessageA(t.window.get(), TTM_TRACKPOSITION, 0,
                 MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
  }
  RECT placed;
  if (!GetWindowRect(t.window.get(), &placed) || (placed.left == at.x && placed.top == at.y))
    return;
  SetWindowPos(t.window.get(), nullptr, at.x, at.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The control sizes itself to its text only while it shows, and a tracking
// tooltip shows a new text only when it is placed again (a muted slider's knob
// stays where it was): it is placed for the size it had last time, then again
// for the size it has now.
void update(Slider& s) {
  TooltipState& t = s.tooltip;
  char text[sizeof s.tooltip.text];
  describe(s, text, sizeof text);
  TOOLINFOA ti = toolFor(s.window);
  const bool newText = std::strcmp(text, t.text) != 0;
  if (newText) {
    std::memcpy(t.text, text, sizeof text);
    ti.lpszText = t.text;
    SendMessageA(t.window.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    t.at = {LONG_MIN, LONG_MIN};
  }
  if (!t.active || newText) moveTo(t, placeFor(s, t.size));
  if (!t.active) {
    SendMessageA(t.window.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    t.active = true;
  }
  RECT shown;
  GetWindowRect(t.window.get(), &shown);
  t.size = {shown.right - shown.left, shown.bottom - shown.top};
  moveTo(t, placeFor(s, t.size));
}

void hide(TooltipState& t, HWND owner) {
  if (!t.active) return;
  TOOLINFOA ti = toolFor(owner);
  SendMessageA(t.window.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  t.active = false;
}

}  // namespace

void showTooltip(Slider& s, unsigned reason) {
  if (s.window == nullptr || !create(s.tooltip, s.window)) return;
  s.tooltip.reasons |= reason;
  update(s);
}

void endTooltip(Slider& s, unsigned reasons) {
  TooltipState& t = s.tooltip;
  t.reasons &= ~reasons;
  if ((reasons & kTipWheel) != 0 && s.window != nullptr) KillTimer(s.window, kTooltipTimer);
  if (t.reasons == 0) hide(t, s.window);
}

void refreshTooltip(Slider& s) {
  if (s.tooltip.active) update(s);
}

void flashTooltip(Slider& s) {
  showTooltip(s, kTipWheel);
  SetTimer(s.window, kTooltipTimer, kWheelTipMs, nullptr);
}

void tooltipMomentOver(Slider& s) { endTooltip(s, kTipWheel); }

// The system decides from one look at the pointer whether it is on the window.
// Where it is not, Windows posts the leave at once, but wine posts none and
// watches nothing, so the answer is asked for rather than assumed.
bool watchPointer(Slider& s) {
  TooltipState& t = s.tooltip;
  HWND window = s.window;
  if (t.watching) return true;
  TRACKMOUSEEVENT watch = {sizeof watch, TME_NONCLIENT | TME_HOVER | TME_LEAVE, window,
                           HOVER_DEFAULT};
  TRACKMOUSEEVENT watched = {sizeof watched, TME_QUERY, nullptr, 0};
  t.watching = TrackMouseEvent(&watch) && TrackMouseEvent(&watched) &&
               watched.hwndTrack == window && (watched.dwFlags & TME_LEAVE) != 0;
  return t.watching;
}

void pointerLeft(Slider& s) {
  s.tooltip.watching = false;
  endTooltip(s, kTipPointerRests | kTipWheel);
}

void dragEnded(Slider& s) {
  TooltipState& t = s.tooltip;
  if ((t.reasons & kTipDrag) == 0) return;
  // The capture hid the pointer's comings and goings: watch them afresh. A
  // pointer that is not on the window cannot be watched, and ends the tooltip.
  t.watching = false;
  if (!watchPointer(s)) {
    endTooltip(s, kTipDrag | kTipPointerRests | kTipWheel);
    return;
  }
  t.reasons |= kTipPointerRests;
  endTooltip(s, kTipDrag);
}

void windowHidden(Slider& s) {
  s.tooltip.watching = false;
  endTooltip(s, kTipPointerRests | kTipDrag | kTipWheel);
}

void destroyTooltip(Slider& s) {
  TooltipState& t = s.tooltip;
  t.window.reset();
  t.reasons = 0;
  t.watching = t.active = false;
  t.text[0] = '\0';
}

HWND tooltipWindow(const Slider& s) { return s.tooltip.window.get(); }
