// The table of every kind of step, and the argument readers they share.
#include "tolvane/script_steps.h"

#include <algorithm>
#include <cstdlib>

#include "host/host_messages.h"
#include "tolvane/host_state.h"
#include "tolvane/values.h"

namespace script {

const Step* findStep(const std::string& name) {
  for (StepTable (*kind)() :
       {hostSteps, inputSteps, menuSteps, mixerSteps, windowSteps, fileSteps, readerSteps}) {
    const StepTable table = kind();
    for (size_t i = 0; i < table.count; ++i)
      if (name == table.steps[i].name) return &table.steps[i];
  }
  return nullptr;
}

bool fail(std::string* error, const std::string& why) {
  *error = why;
  return false;
}

bool number(const std::string& text, int* value, std::string* error) {
  return parseInt(text, value) || fail(error, "not a number: " + text);
}

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

std::vector<HWND> ownWindowsOfClass(const char* name, const std::vector<HWND>& registered) {
  const auto ownOfClass = [name](HWND w) {
    char cls[256];
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    return process == GetCurrentProcessId() && GetClassNameA(w, cls, sizeof cls) &&
           !lstrcmpiA(cls, name);
  };
  std::vector<HWND> found;
  for (HWND w : registered)
    if (IsWindow(w) && ownOfClass(w) && std::find(found.begin(), found.end(), w) == found.end())
      found.push_back(w);
  for (HWND w = FindWindowExA(nullptr, nullptr, name, nullptr); w;
       w = FindWindowExA(nullptr, w, name, nullptr))
    if (ownOfClass(w) && std::find(found.begin(), found.end(), w) == found.end())
      found.push_back(w);
  return found;
}

bool splitWindowName(const std::string& name, std::string* cls, int* n, std::string* error) {
  *cls = name;
  *n = 1;
  const size_t hash = name.rfind('#');
  if (hash == std::string::npos || hash == 0 || hash + 1 == name.size() ||
      name.find_first_not_of("0123456789", hash + 1) != std::string::npos)
    return true;
  *cls = name.substr(0, hash);
  return (parseInt(name.substr(hash + 1), n) && *n >= 1) ||
         fail(error, "windows are numbered from 1: " + name);
}

HWND nthWindowOfClass(const std::string& cls, int n) {
  // The registrations belong to the user-interface thread. Once the host has
  // quit there are none to order by, and the enumeration order is left.
  std::vector<HWND> registered;
  ui([&] { return registered = hostState().registered[HostMsgCommand], true; });
  const std::vector<HWND> windows = ownWindowsOfClass(cls.c_str(), registered);
  return n >= 1 && windows.size() >= static_cast<size_t>(n) ? windows[n - 1] : nullptr;
}

bool windowOfClass(const std::string& name, HWND* window, std::string* error) {
  std::string cls;
  int n;
  if (!splitWindowName(name, &cls, &n, error)) return false;
  *window = nthWindowOfClass(cls, n);
  return *window || fail(error, n == 1 ? "no window of class " + cls : "no window " + name);
}

bool target(const std::string& name, HWND* window, std::string* error) {
  if (name == "screen") return *window = nullptr, true;
  if (name == "host") return *window = mainWindow(), true;
  return windowOfClass(name, window, error);
}

bool windowArg(const std::string& name, HWND* window, std::string* error) {
  if (!target(name, window, error)) return false;
  return *window || fail(error, "needs a window, not the screen");
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

bool pointArgs(const Args& a, size_t from, POINT* at, std::string* error) {
  int x, y;
  return number(a[from + 1], &x, error) && number(a[from + 2], &y, error) &&
         toScreen(a[from], x, y, at, error);
}

}  // namespace script
