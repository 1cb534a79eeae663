#include "settings/settings_file.h"

#include "host/host_api.h"
#include "settings/host_text.h"
#include "settings/settings_path.h"
#include "settings/slider_key.h"
#include "slider/placement.h"

namespace {

constexpr char kPreferredName[] = "KvSliderrc";
constexpr char kFallbackName[] = "KvSlider.rc";
constexpr char kSizesTooSmall[] = "KvSlider size settings are too small!  Defaults set.";
constexpr int kDefaultWheelStep = 2;  // per cent

// The keys read into and written from these fields, in this order.
struct FieldKey {
  const char* key;
  int Slider::*intField;    // or null for a flag
  bool Slider::*boolField;  // or null for a number
  int defaultValue;         // flags: 0 or 1
};

constexpr FieldKey kFieldKeys[] = {
    {"x:", &Slider::x, nullptr, 10},
    {"y:", &Slider::y, nullptr, 10},
    {"width:", &Slider::width, nullptr, 200},
    {"height:", &Slider::height, nullptr, 24},
    {"margin:", &Slider::margin, nullptr, 4},
    {"knob.height:", &Slider::knobHeight, nullptr, 16},
    {"knob.width:", &Slider::knobWidth, nullptr, 8},
    {"track.height:", &Slider::trackHeight, nullptr, 8},
    {"transparent:", nullptr, &Slider::transparent, 0},
    {"alwaysontop:", nullptr, &Slider::alwaysOnTop, 1},
    {"snapwindow:", nullptr, &Slider::snapWindow, 1},
    {"togglewithplugins:", nullptr, &Slider::toggleWithPlugins, 0},
    {"draggable:", nullptr, &Slider::draggable, 1},
    {"alpha:", &Slider::alpha, nullptr, 100},
    {"wheelstep:", &Slider::wheelStep, nullptr, kDefaultWheelStep},
    {"ceiling:", &Slider::ceiling, nullptr, 100},
};

// The sliders' names, in the order they were created; absent means slider1.
constexpr char kSliderListKey[] = "kvslider.sliders:";

// The six tests in 64-bit arithmetic, so that no sum can overflow. Sizes whose
// 32-bit sums would wrap, or whose knob travel would not fit in 32 bits, are
// refused: geometry and painting do their arithmetic in 32 bits.
bool sizesAcceptable(const Slider& s) {
  constexpr long long kMin = -2147483647LL - 1, kMax = 2147483647LL;
  const long long m2 = 2LL * s.margin;
  const long long sums[] = {
      m2,           m2 + s.knobWidth,          m2 + s.knobHeight, m2 + s.trackHeight,
      s.width - m2, s.width - m2 - s.knobWidth};
  for (long long v : sums)
    if (v < kMin || v > kMax) return false;
  return s.width >= 4 && s.height >= 4 && m2 + s.knobWidth <= s.width &&
         m2 + s.knobHeight <= s.height && m2 + s.trackHeight <= s.height && s.width - m2 >= 4;
}

void resetSizes(Slider& s) {
  s.width = 200;
  s.height = 24;
  s.margin = 4;
  s.trackHeight = 8;
  s.knobHeight = 16;
  s.knobWidth = 8;
}

// A candidate that does not fit in the buffer is skipped, never cut short.
bool tryCandidate(const char* directory, int length, const char* name) {
  char candidate[kPathSize];
  if (!joinDirectoryAndName(candidate, kPathSize, directory, length, name)) return false;
  if (!FileExists(candidate)) return false;
  lstrcpynA(settingsPath, candidate, kPathSize);
  return true;
}

}  // namespace

void locateSettings() {
  char module[kPathSize] = "";
  // A cut name (older systems do not even terminate it) could end inside the
  // directory and so name a parent; it is treated like no name at all.
  const DWORD length = GetModuleFileNameA(moduleInstance, module, kPathSize);
  if (length == 0 || length >= static_cast<DWORD>(kPathSize)) module[0] = '\0';
  const int moduleLength = directoryLength(module);

  if (tryCandidate(module, moduleLength, kPreferredName)) return;
  if (tryCandidate(module, moduleLength, kFallbackName)) return;

  char host[kPathSize] = "";
  GetTolvanePath(host, kPathSize);
  host[kPathSize - 1] = '\0';
  const int hostLength = lstrlenA(host);
  if (hostLength > 0) {  // no directory: nothing to look in
    if (tryCandidate(host, hostLength, kPreferredName)) return;
    if (tryCandidate(host, hostLength, kFallbackName)) return;
  }
  // Need not exist: the settings are written here at stop. Left empty only if
  // even this path would not fit, so that no other file is ever written over.
  joinDirectoryAndName(settingsPath, kPathSize, module, moduleLength, kFallbackName);
}

void readSliderSettings(Slider& s, StoredBinding& stored, const char* path) {
  for (const FieldKey& k : kFieldKeys) {
    if (k.intField != nullptr)
      s.*k.intField = ReadInt(path, SliderKey(s, k.key), k.defaultValue);
    else
      s.*k.boolField = ReadBool(path, SliderKey(s, k.key), k.defaultValue != 0);
  }
  s.setCeiling(s.ceiling);  // before a stored binding is made: it holds there too
  readStoredBinding(s, stored, path);

  if (s.alpha < 0) s.alpha = 0;
  if (s.alpha > 100) s.alpha = 100;
  if (s.wheelStep < 1 || s.wheelStep > 25) s.wheelStep = kDefaultWheelStep;

  if (!sizesAcceptable(s)) {
    resetSizes(s);
    // A binding made above placed the knob for the refused sizes.
    s.updateKnobFromValue();
    MessageBoxA(nullptr, kSizesTooSmall, kPluginTitle, MB_TOPMOST | MB_ICONERROR);
  }
  // A slider placed on a monitor beside or above the primary one keeps its
  // place; one that no monitor would show (that monitor has gone) comes back
  // to the primary monitor, whose top-left corner is always 0,0.
  if (!touchesAnyMonitor(s.x, s.y, s.width, s.height)) {
    s.x = 10;
    s.y = 10;
  }
}

void writeSliderSettings(const Slider& s, const StoredBinding& stored, const char* path) {
  if (path == nullptr || path[0] == '\0') return;  // no file could be named
  for (const FieldKey& k : kFieldKeys) {
    if (k.intField != nullptr)
      WriteInt(path, SliderKey(s, k.key), s.*k.intField);
    else
      WriteBool(path, SliderKey(s, k.key), s.*k.boolField);
  }
  writeStoredBinding(s, stored, path);
}

int readSliderList(const char* path, int (&numbers)[kMostSliders]) {
  char list[kTextSize];
  readText(path, kSliderListKey, "", list);
  return parseSliderNames(list, numbers);
}

bool writeSliderList(const char* path, const int* numbers, int count) {
  if (path == nullptr || path[0] == '\0') return false;
  char list[kTextSize];
  return formatSliderNames(numbers, count, list, kTextSize) &&
         WriteString(path, kSliderListKey, list);
}
