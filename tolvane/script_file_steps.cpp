// Script steps on files, settings files and the host's style.
#include <cstdio>

#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/rc_text.h"
#include "tolvane/script_steps.h"
#include "tolvane/text_file.h"

namespace script {
namespace {

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

// expect-setting FILE KEY VALUE, or VALUE "<absent>" for a key that must not be there.
bool stepExpectSetting(const Args& a, std::string* error) {
  std::string text, value;
  if (!loadTextFile(a[1], &text)) return fail(error, "cannot read " + a[1]);
  const bool present = rcFind(text, a[2], &value);
  if (a[3] == "<absent>") return !present || fail(error, "present: " + value);
  if (!present) return fail(error, "key absent");
  return value == a[3] || fail(error, "value is " + value);
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

const Step kSteps[] = {
    {"reload", 0, stepReload},
    {"style", 1, stepStyle},
    {"expect-setting", 3, stepExpectSetting},
    {"expect-file", 1, stepExpectFile},
};

}  // namespace

StepTable fileSteps() { return tableOf(kSteps); }

}  // namespace script
