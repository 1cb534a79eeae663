#include "tests/doubles/host_double.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "host/host_messages.h"

namespace {

struct MenuEntry {
  std::string text;  // rendered line without indentation
  HostMenuRecord* child = nullptr;
};

}  // namespace

struct HostMenuRecord {
  std::string title;
  std::vector<MenuEntry> entries;
  bool attached = false;
};

namespace {

struct State {
  std::vector<std::string> calls;
  std::map<std::pair<std::string, std::string>, std::string> table;
  std::map<std::string, bool> exists;
  std::string tolvanePath = "C:\\Tolvane\\";
  std::string stylePath = "C:\\Tolvane\\styles\\default.style";
  std::string returned;  // text handed back by ReadString / stylePath
  HWND kvWnd = nullptr;
  std::set<HostMenuRecord*> menus;
  std::map<const HostMenuRecord*, int> menuIds;
  int nextMenuId = 1;
  HostMenu shown = nullptr;
  hostdouble::GradientTarget gradientTarget;
  bool snapToOrigin = false;
  std::vector<HWND> commandWindows;  // registered for HostMsgCommand, in order
  std::string chooseOnShow;
};

State& state() {
  // Never destroyed: the plug-in's own unload still calls in after static destructors ran.
  static State* s = new State;
  return *s;
}

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, fmt);
  vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return buffer;
}

std::string text(const char* s) { return s ? s : "(null)"; }

std::string colour(COLORREF c) {
  return format("#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
}

std::string menuName(const HostMenuRecord* m) {
  auto it = state().menuIds.find(m);
  return it == state().menuIds.end() ? "m?" : format("m%d", it->second);
}

void record(const std::string& line) { state().calls.push_back(line); }

const std::string* lookup(const char* file, const char* key) {
  auto it = state().table.find({text(file), text(key)});
  return it == state().table.end() ? nullptr : &it->second;
}

COLORREF parseColour(const std::string& s) {
  unsigned r = 0, g = 0, b = 0;
  if (std::sscanf(s.c_str(), "#%2x%2x%2x", &r, &g, &b) == 3) return RGB(r, g, b);
  return RGB(0, 0, 0);
}

void freeMenu(HostMenuRecord* m) {
  if (m == nullptr || state().menus.erase(m) == 0) return;
  for (auto& e : m->entries) freeMenu(e.child);
  delete m;
}

void render(const HostMenuRecord* m, int depth, std::string& out) {
  out += std::string(static_cast<size_t>(depth) * 2, ' ') + m->title + "\n";
  for (const auto& e : m->entries) {
    if (e.child)
      render(e.child, depth + 1, out);
    else
      out += std::string(static_cast<size_t>(depth + 1) * 2, ' ') + e.text + "\n";
  }
}

void keepCommandWindow(HWND window, bool registering) {
  auto& list = state().commandWindows;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == window) {
      list.erase(it);
      break;
    }
  if (registering) list.push_back(window);
}

// As a user's click does: the item's command to every registered window, at once.
void choose(const HostMenuRecord* root, const std::string& label) {
  std::string command;
  for (const auto& e : root->entries) {
    const size_t arrow = e.text.find(" -> ");
    if (e.child == nullptr && arrow != std::string::npos &&
        e.text.compare(4, arrow - 4, label) == 0)
      command = e.text.substr(arrow + 4);
  }
  if (command.empty()) return;
  for (HWND w : std::vector<HWND>(state().commandWindows))
    if (IsWindow(w)) SendMessageA(w, HostMsgCommand, 0, reinterpret_cast<LPARAM>(command.c_str()));
}

LRESULT CALLBACK hostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == HostMsgRegister || message == HostMsgUnregister) {
    std::string list;
    for (auto* p = reinterpret_cast<const unsigned*>(lParam); p && *p; ++p) {
      list += (list.empty() ? "" : ", ") + std::to_string(*p);
      if (*p == HostMsgCommand)
        keepCommandWindow(reinterpret_cast<HWND>(wParam), message == HostMsgRegister);
    }
    record(format("%s(window %s, [%s])",
                  message == HostMsgRegister ? "HostMsgRegister" : "HostMsgUnregister",
                  wParam ? "set" : "null", list.c_str()));
    return 0;
  }
  if (message == HostMsgStatusText) {
    record("HostMsgStatusText(" + text(reinterpret_cast<const char*>(lParam)) + ")");
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

namespace hostdouble {

void reset() {
  for (auto* m : std::set<HostMenuRecord*>(state().menus)) freeMenu(m);
  HWND kvWnd = state().kvWnd;
  state() = State();
  state().kvWnd = kvWnd;
}

const std::vector<std::string>& calls() { return state().calls; }

void chooseWhenShown(const std::string& label) { state().chooseOnShow = label; }

std::vector<std::string> callsNamed(const char* name) {
  std::vector<std::string> out;
  const std::string prefix = std::string(name) + "(";
  for (const auto& c : state().calls)
    if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
  return out;
}

void clearCalls() { state().calls.clear(); }

void setValue(const std::string& file, const std::string& key, const std::string& value) {
  state().table[{file, key}] = value;
}

bool hasValue(const std::string& file, const std::string& key) {
  return state().table.count({file, key}) != 0;
}

std::string value(const std::string& file, const std::string& key) {
  auto it = state().table.find({file, key});
  return it == state().table.end() ? std::string() : it->second;
}

void setTolvanePath(const std::string& path) { state().tolvanePath = path; }
void setStylePath(const std::string& path) { state().stylePath = path; }
void setFileExists(const std::string& path, bool exists) { state().exists[path] = exists; }
void setKvWnd(HWND window) { state().kvWnd = window; }
void setSnapToOrigin(bool on) { state().snapToOrigin = on; }

HWND createHostWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = hostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HostDoubleWindow";
    RegisterClassA(&wc);
    registered = true;
  }
  if (state().kvWnd == nullptr || !IsWindow(state().kvWnd))
    state().kvWnd = CreateWindowExA(0, "HostDoubleWindow", "host", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
  return state().kvWnd;
}

std::string menuTree(HostMenu root) {
  std::string out;
  if (root && state().menus.count(root)) render(root, 0, out);
  return out;
}

HostMenu lastShownMenu() { return state().shown; }
GradientTarget lastGradientTarget() { return state().gradientTarget; }
int liveMenus() { return static_cast<int>(state().menus.size()); }

Texture textureFor(const char* text) {
  Texture t = {};
  t.bevel = static_cast<int32_t>(std::strlen(text));
  t.bevelPosition = 1;
  t.gradient = static_cast<unsigned char>(text[0]);
  // Not 1: a plug-in that narrows byte 13 to a flag would pass 1 on.
  t.interlaced = std::strstr(text, "Interlaced") ? 0xA5 : 0;
  return t;
}

}  // namespace hostdouble

extern "C" {

HWND GetKvWnd(void) {
  record("GetKvWnd()");
  return state().kvWnd;
}

BOOL __stdcall GetTolvanePath(char* buffer, int size) {
  record(format("GetTolvanePath(%d)", size));
  if (buffer == nullptr || size <= 0) return FALSE;
  std::snprintf(buffer, static_cast<size_t>(size), "%s", state().tolvanePath.c_str());
  return TRUE;
}

bool FileExists(const char* path) {
  record("FileExists(" + text(path) + ")");
  auto it = state().exists.find(text(path));
  return it != state().exists.end() && it->second;
}

const char* stylePath(const char* other) {
  record(format("stylePath(%s)", other ? other : "0"));
  state().returned = state().stylePath;
  return state().returned.c_str();
}

int ReadInt(const char* file, const char* key, int defaultValue) {
  record(format("ReadInt(%s, %s, %d)", text(file).c_str(), text(key).c_str(), defaultValue));
  const std::string* v = lookup(file, key);
  return v ? static_cast<int>(std::strtol(v->c_str(), nullptr, 10)) : defaultValue;
}

bool ReadBool(const char* file, const char* key, bool defaultValue) {
  record(format("ReadBool(%s, %s, %s)", text(file).c_str(), text(key).c_str(),
                defaultValue ? "true" : "false"));
  const std::string* v = lookup(file, key);
  if (v == nullptr) return defaultValue;
  if (*v == "true") return true;
  if (*v == "false") return false;
  return defaultValue;
}

const char* ReadString(const char* file, const char* key, const char* defaultValue) {
  record(format("ReadString(%s, %s, %s)", text(file).c_str(), text(key).c_str(),
                text(defaultValue).c_str()));
  const std::string* v = lookup(file, key);
  state().returned = v ? *v : text(defaultValue);
  return state().returned.c_str();
}

COLORREF ReadColor(const char* file, const char* key, const char* defaultValue) {
  record(format("ReadColor(%s, %s, %s)", text(file).c_str(), text(key).c_str(),
                text(defaultValue).c_str()));
  const std::string* v = lookup(file, key);
  return parseColour(v ? *v : text(defaultValue));
}

bool WriteInt(const char* file, const char* key, int value) {
  record(format("WriteInt(%s, %s, %d)", text(file).c_str(), text(key).c_str(), value));
  state().table[{text(file), text(key)}] = std::to_string(value);
  return true;
}

bool WriteBool(const char* file, const char* key, bool value) {
  record(format("WriteBool(%s, %s, %s)", text(file).c_str(), text(key).c_str(),
                value ? "true" : "false"));
  state().table[{text(file), text(key)}] = value ? "true" : "false";
  return true;
}

bool WriteString(const char* file, const char* key, const char* value) {
  record(format("WriteString(%s, %s, %s)", text(file).c_str(), text(key).c_str(),
                text(value).c_str()));
  state().table[{text(file), text(key)}] = text(value);
  return true;
}

bool ParseItem(char* text, Texture* texture) {
  // The host may write into the text it parses; handing it the host's own
  // returned string instead of a private copy shows up in the record.
  const bool hostsOwn = text != nullptr && text == state().returned.c_str();
  record("ParseItem(" + std::string(hostsOwn ? "host's own text: " : "") +
         std::string(text ? text : "(null)") + ")");
  if (text == nullptr || texture == nullptr) return false;
  *texture = hostdouble::textureFor(text);
  return true;
}

void MakeGradient(HDC dc, RECT r, int gradient, COLORREF from, COLORREF to, uint8_t interlaced,
                  int bevel, int bevelPosition, int bevelWidth, COLORREF borderColor,
                  int borderWidth) {
  record(format("MakeGradient({%ld, %ld, %ld, %ld}, %d, %s, %s, %d, %d, %d, %d, %s, %d)", r.left,
                r.top, r.right, r.bottom, gradient, colour(from).c_str(), colour(to).c_str(),
                interlaced, bevel, bevelPosition, bevelWidth, colour(borderColor).c_str(),
                borderWidth));
  state().gradientTarget = {dc, GetObjectType(dc), GetCurrentObject(dc, OBJ_BITMAP)};
  // Paint a plain fill so pixel tests can tell the three parts apart.
  HBRUSH brush = CreateSolidBrush(from);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

HostMenu MakeMenu(const char* title) {
  auto* m = new HostMenuRecord;
  m->title = text(title);
  state().menus.insert(m);
  state().menuIds[m] = state().nextMenuId++;
  record("MakeMenu(" + m->title + ") -> " + menuName(m));
  return m;
}

void MakeSubmenu(HostMenu parent, HostMenu child, const char* title) {
  record("MakeSubmenu(" + menuName(parent) + ", " + menuName(child) + ", " + text(title) + ")");
  if (!parent || !child) return;
  child->attached = true;
  if (child->title != text(title)) child->title += " {attached as " + text(title) + "}";
  parent->entries.push_back({std::string(), child});
}

void MakeMenuItem(HostMenu menu, const char* label, const char* command, bool checked) {
  record("MakeMenuItem(" + menuName(menu) + ", " + text(label) + ", " + text(command) + ", " +
         (checked ? "checked" : "unchecked") + ")");
  if (menu)
    menu->entries.push_back(
        {std::string(checked ? "[x] " : "[ ] ") + text(label) + " -> " + text(command), nullptr});
}

void MakeMenuNOP(HostMenu menu, const char* label) {
  record("MakeMenuNOP(" + menuName(menu) + ", " + text(label) + ")");
  if (menu) menu->entries.push_back({"-- " + text(label), nullptr});
}

void ShowMenu(HostMenu menu) {
  record("ShowMenu(" + menuName(menu) + ")");
  state().shown = menu;
  const std::string label = state().chooseOnShow;
  state().chooseOnShow.clear();
  if (menu != nullptr && !label.empty()) choose(menu, label);
}

void DelMenu(HostMenu menu) {
  record("DelMenu(" + menuName(menu) + ")");
  if (state().shown == menu) state().shown = nullptr;
  freeMenu(menu);
}

void MakeSticky(HWND window) { record(format("MakeSticky(%s)", window ? "window" : "null")); }
void RemoveSticky(HWND window) { record(format("RemoveSticky(%s)", window ? "window" : "null")); }

void SnapWindowToEdge(WINDOWPOS* pending, int distance, int flags) {
  record(pending
             ? format("SnapWindowToEdge(%d, %d, %d, %d)", pending->x, pending->y, distance, flags)
             : "SnapWindowToEdge(null)");
  if (pending == nullptr || !state().snapToOrigin) return;
  if (pending->x > -distance && pending->x < distance) pending->x = 0;
  if (pending->y > -distance && pending->y < distance) pending->y = 0;
}

}  // extern "C"
