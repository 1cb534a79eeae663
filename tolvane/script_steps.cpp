// The table of every kind of step, and the argument readers they share.
#include "tolvane/script_steps.h"

#include <cstdlib>

#include "tolvane/values.h"

namespace script {

const Step* findStep(const std::string& name) {
  for (StepTable (*kind)() :
       {hostSteps, inputSteps, menuSteps, mixerSteps, windowSteps, fileSteps}) {
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

HWND ownWindowOfClass(const char* name) {
  for (HWND w = FindWindowExA(nullptr, nullptr, name, nullptr); w;
       w = FindWindowExA(nullptr, w, name, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) return w;
  }
  return nullptr;
}

bool target(const std::string& name, HWND* window, std::string* error) {
  if (name == "screen") return *window = nullptr, true;
  if (name == "host") return *window = mainWindow(), true;
  *window = ownWindowOfClass(name.c_str());
  return *window || fail(error, "no window of class " + name);
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
