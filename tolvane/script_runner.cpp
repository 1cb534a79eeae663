// The host's script language: one step per line, reported on stdout.
#include "tolvane/script_runner.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/host_messages.h"
#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/rc_text.h"
#include "tolvane/screen_capture.h"
#include "tolvane/script_line.h"
#include "tolvane/text_file.h"
#include "tolvane/values.h"

namespace {

typedef std::vector<std::string> Args;

struct Script {
  std::string path, text;
  HWND mainWindow = nullptr;
  HANDLE thread = nullptr;
  HANDLE stopEvent = nullptr;         // set when the host has quit
  std::atomic<bool> stopping{false};  // the same, for a look without waiting
  int exitCode = 1;                   // until the script reaches its end
};
Script g_script;

// Sleeps, but wakes when the host quits; false then.
bool pause(DWORD ms) { return WaitForSingleObject(g_script.stopEvent, ms) == WAIT_TIMEOUT; }

bool fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

bool ui(const std::function<bool()>& task) {
  return !g_script.stopping && runOnUiThread(g_script.mainWindow, task);
}

bool number(const std::string& text, int* value, std::string* error) {
  return parseInt(text, value) || fail(error, "not a number: " + text);
}

// Decimal or 0x-hexadecimal, full 32-bit unsigned range (mixer identifiers).
bool unsignedNumber(const std::string& text, unsigned* value, std::string* error) {
  if (text.empty() || text[0] == '-') return fail(error, "not an unsigned number: " + text);
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (*end || v > 0xFFFFFFFFull) return fail(error, "not an unsigned number: " + text);
  *value = static_cast<unsigned>(v);
  return true;
}

bool yesNo(const std::string& text, bool* value, std::string* error) {
  return parseBool(text, value) || fail(error, "expected yes or no: " + text);
}

// "screen", "host" (the host's own window) or a window class name.
bool target(const std::string& name, HWND* window, std::string* error) {
  if (name == "screen") return *window = nullptr, true;
  if (name == "host") return *window = g_script.mainWindow, true;
  *window = FindWindowA(name.c_str(), nullptr);
  return *window || fail(error, "no window of class " + name);
}

bool toScreen(const std::string& name, int x, int y, POINT* at, std::string* error) {
  HWND window;
  if (!target(name, &window, error)) return false;
  at->x = x, at->y = y;
  if (!window) return true;
  RECT r;
  if (!GetWindowRect(window, &r)) return fail(error, "window has gone");
  at->x += r.left, at->y += r.top;
  return true;
}

// Waits until the user-interface thread has handled the input and messages
// sent so far (or two seconds pass: a window that never validates is not an error).
void settle() {
  for (int i = 0; i < 200; ++i) {
    if (!pause(10)) return;
    bool idle = false;
    ui([&] {
      idle = (GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_TIMER) & 0xFFFF0000u) == 0 &&
             (GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) & 0xFFFF) == 0;
      return true;
    });
    if (idle) return;
  }
}

// A press anywhere closes an open popup menu; the menu kept for the script
// goes the same way, so a later "choose" never picks from a menu no longer open.
void closeShownMenu() {
  ui([] {
    HostState& host = hostState();
    host.shownMenus.destroy(host.lastShownMenu);
    host.lastShownMenu = nullptr;
    return true;
  });
}

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
  if (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN)) closeShownMenu();
  if (flags) {
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
  }
  settle();
}

bool pointArgs(const Args& a, size_t from, POINT* at, std::string* error) {
  int x, y;
  return number(a[from + 1], &x, error) && number(a[from + 2], &y, error) &&
         toScreen(a[from], x, y, at, error);
}

DWORD buttonFlag(const Args& a, size_t at, bool down) {
  const bool right = a.size() > at && a[at] == "right";
  return right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
               : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

// --- steps -------------------------------------------------------------------

bool stepWait(const Args& a, std::string* error) {
  int ms;
  if (!number(a[1], &ms, error) || ms < 0) return fail(error, "bad time");
  pause(static_cast<DWORD>(ms));
  settle();
  return true;
}

bool stepEcho(const Args& a, std::string*) {
  for (size_t i = 1; i < a.size(); ++i) std::printf("%s%s", i > 1 ? " " : "", a[i].c_str());
  std::printf("\n");
  return true;
}

// Commands are delivered without waiting for the receivers: one may answer
// with a message box, which a later step reads and dismisses.
bool stepBroadcast(const Args& a, std::string* error) {
  size_t registered = 0;
  ui([&] { return (registered = hostState().registered[HostMsgCommand].size()), true; });
  if (registered == 0) return fail(error, "no window is registered for commands");
  const std::string text = a[1];
  postToUiThread(g_script.mainWindow, [text] { sendToRegistered(HostMsgCommand, text.c_str()); });
  settle();
  return true;
}

bool stepReload(const Args&, std::string*) {
  ui([] { return sendReload(), true; });
  settle();
  return true;
}

bool stepStyle(const Args& a, std::string* error) {
  std::string path;
  ui([&] { return path = resolvePath(a[1]), true; });
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    return fail(error, "no style file " + path);
  ui([&] { return handleHostCommand("@TolvaneStyle " + a[1]); });
  settle();
  return true;
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

bool stepClick(const Args& a, std::string* error, bool right) {
  POINT at;
  if (!pointArgs(a, 1, &at, error)) return false;
  sendMouse(0, at);
  sendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, at);
  sendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, at);
  return true;
}

// drag TARGET X1 Y1 X2 Y2 [STEPS]: press, move in even steps, release. Both
// points are taken relative to the target as it stood before the press, so a
// window that moves with the pointer does not shift the end point.
bool stepDrag(const Args& a, std::string* error) {
  POINT from, to;
  int x2, y2, steps = 8;
  if (!pointArgs(a, 1, &from, error) || !number(a[4], &x2, error) || !number(a[5], &y2, error))
    return false;
  if (a.size() > 6 && (!number(a[6], &steps, error) || steps < 1 || steps > 1000))
    return fail(error, "bad step count");
  to.x = from.x + x2 - std::atoi(a[2].c_str());
  to.y = from.y + y2 - std::atoi(a[3].c_str());
  sendMouse(0, from);
  sendMouse(MOUSEEVENTF_LEFTDOWN, from);
  for (int i = 1; i <= steps; ++i) {
    POINT p = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    sendMouse(0, p);
  }
  sendMouse(MOUSEEVENTF_LEFTUP, to);
  return true;
}

bool withShownMenu(std::string* error, const std::function<bool(const HostMenuRecord&)>& use) {
  bool shown = false, ok = false;
  ui([&] {
    HostMenuRecord* menu = hostState().lastShownMenu;
    if ((shown = menu != nullptr)) ok = use(*menu);
    return true;
  });
  return shown || fail(error, "no menu is open");
}

bool writeOut(const std::string& path, const std::string& text, std::string* error) {
  if (path == "-") return std::fputs(text.c_str(), stdout), true;
  return saveTextFileAtomically(path, text) || fail(error, "cannot write " + path);
}

bool stepMenuDump(const Args& a, std::string* error) {
  std::string text;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) { return text = dumpMenu(m), true; }))
    return false;
  return writeOut(a[1], text, error);
}

bool stepChoose(const Args& a, std::string* error) {
  const Args path(a.begin() + 1, a.end());
  std::string command;
  bool found = false, isCommand = false;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) {
        const HostMenuItem* item = findMenuItem(m, path);
        found = item != nullptr;
        isCommand = found && item->kind == HostMenuItem::Command;
        if (isCommand) command = item->command;
        return true;
      }))
    return false;
  if (!found) return fail(error, "no such menu item");
  if (!isCommand) return fail(error, "the item is not a command");
  // Choosing closes the menu, as a click would; then the command goes out.
  closeShownMenu();
  std::printf("  chose \"%s\"\n", command.c_str());
  postToUiThread(g_script.mainWindow, [command] { deliverMenuCommand(command); });
  settle();
  return true;
}

bool stepExpectChecked(const Args& a, std::string* error) {
  bool want;
  if (!yesNo(a[1], &want, error)) return false;
  const Args path(a.begin() + 2, a.end());
  int state = -1;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) {
        const HostMenuItem* item = findMenuItem(m, path);
        if (item) state = item->checked ? 1 : 0;
        return true;
      }))
    return false;
  if (state < 0) return fail(error, "no such menu item");
  return (state == 1) == want || fail(error, state ? "checked" : "not checked");
}

struct OpenMixer {
  HMIXER handle = nullptr;
  MMRESULT result;
  explicit OpenMixer(unsigned device) { result = mixerOpen(&handle, device, 0, 0, 0); }
  OpenMixer(const OpenMixer&) = delete;
  OpenMixer& operator=(const OpenMixer&) = delete;
  ~OpenMixer() {
    if (result == MMSYSERR_NOERROR) mixerClose(handle);
  }
};

bool mixerArgs(const Args& a, unsigned* device, unsigned* line, unsigned* control, unsigned* raw,
               std::string* error) {
  (void)line;  // the control identifier alone addresses a control on its device
  return unsignedNumber(a[1], device, error) && unsignedNumber(a[2], line, error) &&
         unsignedNumber(a[3], control, error) && unsignedNumber(a[4], raw, error);
}

MMRESULT controlDetails(HMIXER mixer, unsigned control, MIXERCONTROLDETAILS_UNSIGNED* value,
                        bool set) {
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof details;
  details.dwControlID = control;
  details.cChannels = 1;
  details.cbDetails = sizeof *value;
  details.paDetails = value;
  HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);
  return set ? mixerSetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE)
             : mixerGetControlDetailsA(object, &details, MIXER_GETCONTROLDETAILSF_VALUE);
}

// mixer-set DEVICE LINE CONTROL RAW [TARGET]: sets the control from this
// process and, as a driver would, notifies TARGET with MM_MIXM_CONTROL_CHANGE.
bool stepMixerSet(const Args& a, std::string* error) {
  unsigned device, line, control, raw;
  if (!mixerArgs(a, &device, &line, &control, &raw, error)) return false;
  HWND notify = nullptr;
  if (a.size() > 5 && (!target(a[5], &notify, error) || !notify))
    return fail(error, "notification needs a window");
  std::string why;
  ui([&] {
    OpenMixer mixer(device);
    if (mixer.result != MMSYSERR_NOERROR) return why = "mixerOpen failed", false;
    MIXERCONTROLDETAILS_UNSIGNED value = {raw};
    const MMRESULT r = controlDetails(mixer.handle, control, &value, true);
    if (r != MMSYSERR_NOERROR) return why = "set failed (" + std::to_string(r) + ")", false;
    if (notify)
      PostMessageA(notify, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(mixer.handle),
                   static_cast<LPARAM>(control));
    return true;
  });
  settle();
  return why.empty() || fail(error, why);
}

bool readMixer(unsigned device, unsigned control, unsigned* raw, std::string* error) {
  std::string why;
  ui([&] {
    OpenMixer mixer(device);
    if (mixer.result != MMSYSERR_NOERROR) return why = "mixerOpen failed", false;
    // A driver may report success without writing: start from a value no
    // control holds, and treat it as unread.
    MIXERCONTROLDETAILS_UNSIGNED value = {0xFFFFFFFFu};
    const MMRESULT r = controlDetails(mixer.handle, control, &value, false);
    if (r != MMSYSERR_NOERROR) return why = "read failed (" + std::to_string(r) + ")", false;
    if (value.dwValue == 0xFFFFFFFFu) return why = "the driver wrote no value", false;
    *raw = value.dwValue;
    return true;
  });
  return why.empty() || fail(error, why);
}

bool stepExpectMixer(const Args& a, std::string* error) {
  unsigned device, line, control, want, got, tolerance = 0;
  if (!mixerArgs(a, &device, &line, &control, &want, error)) return false;
  if (a.size() > 5 && !unsignedNumber(a[5], &tolerance, error)) return false;
  if (!readMixer(device, control, &got, error)) return false;
  std::printf("  raw value %u\n", got);
  const long long diff = std::llabs(static_cast<long long>(got) - want);
  return diff <= tolerance || fail(error, "raw value " + std::to_string(got));
}

bool windowArg(const std::string& name, HWND* window, std::string* error) {
  if (!target(name, window, error)) return false;
  return *window || fail(error, "needs a window, not the screen");
}

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

// expect-file PATH [MIN_BYTES]
bool stepExpectFile(const Args& a, std::string* error) {
  int minimum = 1;
  if (a.size() > 2 && !number(a[2], &minimum, error)) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(a[1].c_str(), GetFileExInfoStandard, &data))
    return fail(error, "no file " + a[1]);
  const unsigned long long size =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  std::printf("  %llu bytes\n", size);
  return size >= static_cast<unsigned long long>(minimum) || fail(error, "file too small");
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

// expect-setting FILE KEY VALUE, or VALUE "<absent>" for a key that must not be there.
bool stepExpectSetting(const Args& a, std::string* error) {
  std::string text, value;
  if (!loadTextFile(a[1], &text)) return fail(error, "cannot read " + a[1]);
  const bool present = rcFind(text, a[2], &value);
  if (a[3] == "<absent>") return !present || fail(error, "present: " + value);
  if (!present) return fail(error, "key absent");
  return value == a[3] || fail(error, "value is " + value);
}

bool stepExpectStatus(const Args& a, std::string* error) {
  std::string status;
  ui([&] { return status = hostState().statusText, true; });
  return labelMatches(a[1], status) || fail(error, "status is \"" + status + "\"");
}

bool stepExpectWindow(const Args& a, std::string* error) {
  bool want;
  if (!yesNo(a[2], &want, error)) return false;
  const bool exists = FindWindowA(a[1].c_str(), nullptr) != nullptr;
  return exists == want || fail(error, exists ? "exists" : "absent");
}

// expect-registered CLASS MESSAGE yes|no
bool stepExpectRegistered(const Args& a, std::string* error) {
  HWND window;
  int message;
  bool want;
  if (!windowArg(a[1], &window, error) || !number(a[2], &message, error) ||
      !yesNo(a[3], &want, error))
    return false;
  bool registered = false;
  ui([&] {
    const auto& list = hostState().registered[static_cast<UINT>(message)];
    registered = std::find(list.begin(), list.end(), window) != list.end();
    return true;
  });
  return registered == want || fail(error, registered ? "registered" : "not registered");
}

bool stepExpectSticky(const Args& a, std::string* error) {
  HWND window;
  bool want;
  if (!windowArg(a[1], &window, error) || !yesNo(a[2], &want, error)) return false;
  bool sticky = false;
  ui([&] { return sticky = hostState().sticky.count(window) != 0, true; });
  return sticky == want || fail(error, sticky ? "sticky" : "not sticky");
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

struct Step {
  const char* name;
  size_t minArgs;  // words after the step's name
  bool (*run)(const Args&, std::string*);
};

const Step kSteps[] = {
    {"wait", 1, stepWait},
    {"echo", 0, stepEcho},
    {"broadcast", 1, stepBroadcast},
    {"reload", 0, stepReload},
    {"style", 1, stepStyle},
    {"press", 3, stepPress},
    {"move", 3, stepMove},
    {"release", 3, stepRelease},
    {"click", 3, [](const Args& a, std::string* e) { return stepClick(a, e, false); }},
    {"right-click", 3, [](const Args& a, std::string* e) { return stepClick(a, e, true); }},
    {"drag", 5, stepDrag},
    {"menu-dump", 1, stepMenuDump},
    {"choose", 1, stepChoose},
    {"expect-checked", 2, stepExpectChecked},
    {"mixer-set", 4, stepMixerSet},
    {"expect-mixer", 4, stepExpectMixer},
    {"screenshot", 2, stepScreenshot},
    {"expect-rect", 5, stepExpectRect},
    {"expect-visible", 2, stepExpectVisible},
    {"expect-topmost", 2, stepExpectTopmost},
    {"expect-alpha", 2, stepExpectAlpha},
    {"expect-pixel", 4, stepExpectPixel},
    {"expect-setting", 3, stepExpectSetting},
    {"expect-status", 1, stepExpectStatus},
    {"expect-window", 2, stepExpectWindow},
    {"expect-file", 1, stepExpectFile},
    {"expect-box", 1, stepExpectBox},
    {"expect-registered", 3, stepExpectRegistered},
    {"expect-sticky", 2, stepExpectSticky},
};

std::string joined(const Args& a) {
  std::string out;
  for (const std::string& w : a) {
    if (!out.empty()) out += ' ';
    out += w.find(' ') == std::string::npos && !w.empty() ? w : "\"" + w + "\"";
  }
  return out;
}

// Runs one line; false when it failed and was not optional.
bool runLine(int number, const ScriptLine& line, bool* quit) {
  const Args& a = line.words;
  std::printf("line %d: %s%s\n", number, line.optional ? "optional " : "", joined(a).c_str());
  std::string error;
  bool ok = false;
  if (a[0] == "quit") {
    *quit = true;
    ok = true;
  } else {
    const Step* step = nullptr;
    for (const Step& s : kSteps)
      if (a[0] == s.name) step = &s;
    if (!step)
      error = "unknown step";
    else if (a.size() - 1 < step->minArgs)
      error = "needs " + std::to_string(step->minArgs) + " arguments";
    else
      ok = step->run(a, &error);
  }
  if (ok) {
    std::printf("  ok\n");
    return true;
  }
  if (g_script.stopping) error = "the host quit during this step";
  std::printf("  %s: %s\n", line.optional ? "failed (optional, going on)" : "FAILED",
              error.c_str());
  return line.optional;
}

// Runs the lines in order; false at the first failing one, or when the host
// quits before the last line has started.
bool runLines(const std::string& text, bool* quit) {
  int number = 0;
  for (size_t at = 0; !*quit && at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string raw = text.substr(at, end - at);
    at = end + 1;
    ++number;
    ScriptLine line;
    std::string error;
    if (!splitScriptLine(raw, &line, &error)) {
      std::printf("line %d: FAILED: %s\n", number, error.c_str());
      return false;
    }
    if (line.words.empty()) continue;
    if (g_script.stopping) {
      std::printf("script: stopped at line %d, before its end: the host quit\n", number);
      return false;
    }
    if (!runLine(number, line, quit)) return false;
  }
  return true;
}

DWORD WINAPI scriptThread(void*) {
  bool quit = false;
  const bool ok = runLines(g_script.text, &quit);
  g_script.exitCode = ok ? 0 : 1;
  std::printf("script: %s\n", ok ? "passed" : "failed");
  std::fflush(stdout);
  // Posted, not sent: a sent message reaches the user-interface thread even while
  // it waits inside a plug-in's mixer call.
  const bool stop = !ok || quit;
  postToUiThread(g_script.mainWindow, [stop] {
    hostState().scriptMode = false;
    if (stop) requestQuit();
  });
  return 0;
}

}  // namespace

bool startScript(const std::string& path, HWND mainWindow) {
  g_script.path = path;
  g_script.mainWindow = mainWindow;
  if (!loadTextFile(path, &g_script.text)) {
    std::printf("script: cannot read %s\nscript: failed\n", path.c_str());
    return false;
  }
  g_script.stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (g_script.stopEvent)
    g_script.thread = CreateThread(nullptr, 0, scriptThread, nullptr, 0, nullptr);
  if (!g_script.thread) {
    std::printf("script: cannot start (error %lu)\nscript: failed\n", GetLastError());
    return false;
  }
  hostState().scriptMode = true;
  hostState().verbose = true;
  return true;
}

void stopScript() {
  if (!g_script.thread) return;
  g_script.stopping = true;
  SetEvent(g_script.stopEvent);
  stopTasks(g_script.mainWindow);
  // The script's thread may be waiting for an answer from this one: keep
  // answering (stopTasks turns the work away) until the thread has ended.
  // Every wait of a step is short or ends at the stop event, so this is quick;
  // a thread stuck anyway must not outlive the state it reads.
  const DWORD deadline = GetTickCount() + 10000;
  while (MsgWaitForMultipleObjects(1, &g_script.thread, FALSE, 100, QS_SENDMESSAGE) !=
         WAIT_OBJECT_0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
      std::fprintf(stderr, "tolvane: the script's thread does not stop; exiting at once\n");
      ExitProcess(1);
    }
  }
  CloseHandle(g_script.thread);
  CloseHandle(g_script.stopEvent);
  g_script.thread = g_script.stopEvent = nullptr;
}

int scriptExitCode() { return g_script.exitCode; }
