// Script steps checking windows, screen pixels and message boxes, and taking
// screenshots.
#include <cstdio>
#include <cstdlib>

#include "tolvane/menu_tree.h"
#include "tolvane/screen_capture.h"
#include "tolvane/script_steps.h"
#include "tolvane/values.h"

namespace script {
namespace {

// expect-rect TARGET X Y W H; "*" accepts any value in its place.
bool stepExpectRect(const Args& a, std::string* error) {
  HWND window;
  if (!windowArg(a[1], &window, error)) return false;
  RECT r;
  GetWindowRect(window, &r);
  const LONG got[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  const std::string text = std::to_string(got[0]) + " " + std::to_string(got[1]) + " " +
                           std::to_string(got[2]) + " " + std::to_string(got[3]);
  std::printf("  rect %s\n", text.c_str());
  for (int i = 0; i < 4; ++i) {
    int want;
    if (a[2 + i] == "*") continue;
    if (!number(a[2 + i], &want, error)) return false;
    if (got[i] != want) return fail(error, "rect is " + text);
  }
  return true;
}

bool stepExpectVisible(const Args& a, std::string* error) {
  HWND window;
  bool want;
  if (!windowArg(a[1], &window, error) || !yesNo(a[2], &want, error)) return false;
  const bool visible = IsWindowVisible(window) != 0;
  return visible == want || fail(error, visible ? "visible" : "hidden");
}

bool stepExpectTopmost(const Args& a, std::string* error) {
  HWND window;
  bool want;
  if (!windowArg(a[1], &window, error) || !yesNo(a[2], &want, error)) return false;
  const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  return topmost == want || fail(error, topmost ? "topmost" : "not topmost");
}

bool stepExpectAlpha(const Args& a, std::string* error) {
  HWND window;
  int want;
  if (!windowArg(a[1], &window, error) || !number(a[2], &want, error)) return false;
  int alpha = 255;
  if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) {
    BYTE value = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &value, &flags))
      return fail(error, "no layered attributes");
    alpha = (flags & LWA_ALPHA) ? value : 255;
  }
  std::printf("  alpha %d\n", alpha);
  return alpha == want || fail(error, "alpha is " + std::to_string(alpha));
}

bool stepExpectPixel(const Args& a, std::string* error) {
  POINT at;
  uint32_t want;
  int tolerance = 0;
  if (!pointArgs(a, 1, &at, error)) return false;
  if (!parseColor(a[4], &want)) return fail(error, "not a colour: " + a[4]);
  if (a.size() > 5 && !number(a[5], &tolerance, error)) return false;
  const auto matches = [&](uint32_t pixel) {
    for (int shift = 0; shift <= 16; shift += 8) {
      const int g = (pixel >> (16 - shift)) & 0xFF;  // bitmap 0x00rrggbb
      const int w = (want >> shift) & 0xFF;          // colour 0x00bbggrr
      if (std::abs(g - w) > tolerance) return false;
    }
    return true;
  };
  // What a window painted reaches the display a little later (wine flushes
  // window surfaces on its own schedule): look again for up to a second.
  std::vector<uint32_t> pixel;
  RECT one = {at.x, at.y, at.x + 1, at.y + 1};
  bool ok = false;
  for (int attempt = 0; attempt < 40 && !ok; ++attempt) {
    if (attempt && !pause(25)) break;
    if (!captureScreen(one, &pixel)) return fail(error, "cannot read the screen");
    ok = matches(pixel[0]);
  }
  char got[8];
  std::snprintf(got, sizeof got, "#%06x", pixel[0]);
  std::printf("  pixel %s\n", got);
  return ok || fail(error, std::string("pixel is ") + got);
}

// screenshot TARGET FILE [X Y W H]: the target's rectangle, or the part of it
// given relative to its top-left corner.
bool stepScreenshot(const Args& a, std::string* error) {
  HWND window;
  if (!target(a[1], &window, error)) return false;
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window) GetWindowRect(window, &area);
  if (a.size() > 3) {
    int v[4];
    if (a.size() < 7) return fail(error, "a part needs X Y W H");
    for (int i = 0; i < 4; ++i)
      if (!number(a[3 + i], &v[i], error)) return false;
    if (v[2] <= 0 || v[3] <= 0) return fail(error, "empty part");
    area = {area.left + v[0], area.top + v[1], area.left + v[0] + v[2], area.top + v[1] + v[3]};
  }
  settle();
  return saveScreenPng(area, a[2], error);
}

// expect-window CLASS[#N] yes|no
bool stepExpectWindow(const Args& a, std::string* error) {
  std::string cls;
  int n;
  bool want;
  if (!splitWindowName(a[1], &cls, &n, error) || !yesNo(a[2], &want, error)) return false;
  const bool exists = nthWindowOfClass(cls, n) != nullptr;
  return exists == want || fail(error, exists ? "exists" : "absent");
}

struct BoxSearch {
  HWND box = nullptr;
  std::string text;
};

BOOL CALLBACK findBoxText(HWND child, LPARAM lParam) {
  char cls[16], text[1024];
  GetClassNameA(child, cls, sizeof cls);
  GetWindowTextA(child, text, sizeof text);
  auto* search = reinterpret_cast<BoxSearch*>(lParam);
  // The message is the longest static text; the icon is a static without one.
  if (!lstrcmpiA(cls, "Static") && std::string(text).size() > search->text.size())
    search->text = text;
  return TRUE;
}

BOOL CALLBACK findBox(HWND window, LPARAM lParam) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[16];
  GetClassNameA(window, cls, sizeof cls);
  if (process != GetCurrentProcessId() || lstrcmpA(cls, "#32770") || !IsWindowVisible(window))
    return TRUE;
  reinterpret_cast<BoxSearch*>(lParam)->box = window;
  return FALSE;
}

// expect-box PATTERN: a message box of this process shows within two seconds
// with text matching PATTERN ('*', '?'); it is then dismissed as OK would.
bool stepExpectBox(const Args& a, std::string* error) {
  BoxSearch search;
  for (int i = 0; i < 40 && !search.box; ++i) {
    EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    if (!search.box && !pause(50)) break;
  }
  if (!search.box) return fail(error, "no message box");
  EnumChildWindows(search.box, findBoxText, reinterpret_cast<LPARAM>(&search));
  char caption[256];
  GetWindowTextA(search.box, caption, sizeof caption);
  std::printf("  box \"%s\": \"%s\"\n", caption, search.text.c_str());
  PostMessageA(search.box, WM_COMMAND, IDOK, 0);
  settle();
  return labelMatches(a[1], search.text) || fail(error, "box says \"" + search.text + "\"");
}

const Step kSteps[] = {
    {"screenshot", 2, stepScreenshot},        {"expect-rect", 5, stepExpectRect},
    {"expect-visible", 2, stepExpectVisible}, {"expect-topmost", 2, stepExpectTopmost},
    {"expect-alpha", 2, stepExpectAlpha},     {"expect-pixel", 4, stepExpectPixel},
    {"expect-window", 2, stepExpectWindow},   {"expect-box", 1, stepExpectBox},
};

}  // namespace

StepTable windowSteps() { return tableOf(kSteps); }

}  // namespace script
