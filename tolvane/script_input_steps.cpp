// Script steps giving real pointer and keyboard input through SendInput.
#include "tolvane/script_steps.h"

namespace script {
namespace {

// Absolute input is in 1/65536 of the screen; rounding up lands on the pixel
// meant, and a pointer left elsewhere is put right before the button events.
void sendMouse(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  const long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((at.x * 65536LL + w - 1) / w);
  input.mi.dy = static_cast<LONG>((at.y * 65536LL + h - 1) / h);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
  POINT now;
  if (GetCursorPos(&now) && (now.x != at.x || now.y != at.y)) SetCursorPos(at.x, at.y);
  if (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN))
    closeShownMenu();
  if (flags) {
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
  }
  settle();
}

// The button named at that place: "right", "middle", or the left one.
DWORD buttonFlag(const Args& a, size_t at, bool down) {
  const std::string which = a.size() > at ? a[at] : "";
  if (which == "right") return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  if (which == "middle") return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
  return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
}

bool stepPress(const Args& a, std::string* error) {
  POINT at;
  if (!pointArgs(a, 1, &at, error)) return false;
  sendMouse(0, at);
  sendMouse(buttonFlag(a, 4, true), at);
  return true;
}

bool stepMove(const Args& a, std::string* error) {
  POINT at;
  return pointArgs(a, 1, &at, error) && (sendMouse(0, at), true);
}

bool stepRelease(const Args& a, std::string* error) {
  POINT at;
  return pointArgs(a, 1, &at, error) && (sendMouse(buttonFlag(a, 4, false), at), true);
}

// click TARGET X Y [middle]; right-click TARGET X Y.
bool stepClick(const Args& a, std::string* error, bool right) {
  POINT at;
  if (!pointArgs(a, 1, &at, error)) return false;
  sendMouse(0, at);
  sendMouse(right ? MOUSEEVENTF_RIGHTDOWN : buttonFlag(a, 4, true), at);
  sendMouse(right ? MOUSEEVENTF_RIGHTUP : buttonFlag(a, 4, false), at);
  return true;
}

// drag TARGET X1 Y1 X2 Y2 [STEPS]: press, move in even steps, release. Both
// points are taken relative to the target as it stood before the press, so a
// window that moves with the pointer does not shift the end point.
bool stepDrag(const Args& a, std::string* error) {
  POINT from;
  int x1, y1, x2, y2, steps = 8;
  if (!number(a[2], &x1, error) || !number(a[3], &y1, error) ||
      !toScreen(a[1], x1, y1, &from, error) || !number(a[4], &x2, error) ||
      !number(a[5], &y2, error))
    return false;
  if (a.size() > 6 && (!number(a[6], &steps, error) || steps < 1 || steps > 1000))
    return fail(error, "bad step count");
  const POINT to = {from.x + x2 - x1, from.y + y2 - y1};
  sendMouse(0, from);
  sendMouse(MOUSEEVENTF_LEFTDOWN, from);
  for (int i = 1; i <= steps; ++i) {
    POINT p = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    sendMouse(0, p);
  }
  sendMouse(MOUSEEVENTF_LEFTUP, to);
  return true;
}

// wheel TARGET X Y DELTA [h]: the pointer there, then one turn of the wheel
// (h: tilted; positive is up or right) by DELTA, 120 a notch.
bool stepWheel(const Args& a, std::string* error) {
  POINT at;
  int delta;
  if (!pointArgs(a, 1, &at, error) || !number(a[4], &delta, error)) return false;
  sendMouse(0, at);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = static_cast<DWORD>(delta);
  input.mi.dwFlags = a.size() > 5 && a[5] == "h" ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
  SendInput(1, &input, sizeof input);
  settle();
  return true;
}

// The keys a script may name; a single letter or digit names itself.
const struct {
  const char* name;
  WORD key;
} kKeyNames[] = {{"right", VK_RIGHT}, {"left", VK_LEFT},    {"up", VK_UP},
                 {"down", VK_DOWN},   {"pageup", VK_PRIOR}, {"pagedown", VK_NEXT},
                 {"home", VK_HOME},   {"end", VK_END},      {"space", VK_SPACE},
                 {"tab", VK_TAB},     {"escape", VK_ESCAPE}};

bool keyNamed(const std::string& name, WORD* key) {
  for (const auto& k : kKeyNames)
    if (name == k.name) return (*key = k.key), true;
  const char c = name.size() == 1 ? name[0] : '\0';
  if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
    *key = static_cast<WORD>(c >= 'a' ? c - 'a' + 'A' : c);
    return true;
  }
  return false;
}

// key NAME [COUNT]: pressed and released COUNT times (1 when not given), to
// whichever window has the keyboard focus.
bool stepKey(const Args& a, std::string* error) {
  WORD key = 0;
  int count = 1;
  if (!keyNamed(a[1], &key)) return fail(error, "unknown key " + a[1]);
  if (a.size() > 2 && (!number(a[2], &count, error) || count < 1 || count > 100))
    return fail(error, "bad count");
  for (int i = 0; i < count; ++i) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    settle();
  }
  return true;
}

const Step kSteps[] = {
    {"press", 3, stepPress},
    {"move", 3, stepMove},
    {"release", 3, stepRelease},
    {"click", 3, [](const Args& a, std::string* e) { return stepClick(a, e, false); }},
    {"right-click", 3, [](const Args& a, std::string* e) { return stepClick(a, e, true); }},
    {"drag", 5, stepDrag},
    {"wheel", 4, stepWheel},
    {"key", 1, stepKey},
};

}  // namespace

StepTable inputSteps() { return tableOf(kSteps); }

}  // namespace script
