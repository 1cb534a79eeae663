#include "settings/settings_file.h"

#include <cstdio>

#include "commands/decimal_number.h"
#include "plugin/module_state.h"
#include "plugin/slider_list.h"
#include "settings/settings_path.h"
#include "settings/slider_names.h"
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
};

constexpr char kBoundKey[] = "mixer.set:";
// These three have never had a colon; the file holds them exactly so.
constexpr char kDeviceKey[] = "mixer.device";
constexpr char kLineKey[] = "mixer.line";
constexpr char kControlKey[] = "mixer.control";
// The bound device's product name, for finding it again when indices shift.
constexpr char kDeviceNameKey[] = "mixer.devicename:";
// "default", an audio endpoint's ID, or empty; when set it wins over the
// microphone, and either over the mixer control.
constexpr char kEndpointKey[] = "endpoint:";
constexpr char kMicrophoneKey[] = "microphone:";
// An application by its image file name ("player.exe", "systemsounds"), and
// the level held for it, in per cent.
constexpr char kAppKey[] = "app:";
constexpr char kAppLevelKey[] = "app.level:";
// The sliders' names, in the order they were created; absent means slider1.
constexpr char kSliderListKey[] = "kvslider.sliders:";

// A slider's own key: "kvslider.slider2.x:" for "x:".
struct SliderKey {
  char text[64];
  SliderKey(const Slider& s, const char* suffix) {
    std::snprintf(text, sizeof text, "kvslider.%s.%s", s.name, suffix);
  }
  operator const char*() const { return text; }
};

// The host's text is copied at once: the next host call may reuse it.
void readText(const char* path, const char* key, const char* defaultText, char (&text)[kTextSize]) {
  const char* stored = ReadString(path, key, defaultText);
  lstrcpynA(text, stored != nullptr ? stored : defaultText, kTextSize);
}

// False when the text may have been cut: the host hands out at most 255 bytes.
bool readWholeText(const char* path, const char* key, char (&text)[kTextSize]) {
  const char* stored = ReadString(path, key, "");
  if (stored == nullptr) stored = "";
  lstrcpynA(text, stored, kTextSize);
  return lstrlenA(stored) < kTextSize - 1;
}

// The endpoint of a non-empty key, to be bound once the window exists; false
// for an empty one.
bool rememberEndpointKey(Slider& s, const char* path, const char* key, EDataFlow flow) {
  char text[kTextSize];
  const bool whole = readWholeText(path, SliderKey(s, key), text);
  if (text[0] == '\0') return false;
  rememberStoredEndpoint(s.binding, flow, text, whole);
  return true;
}

bool rememberAppKey(Slider& s, const char* path) {
  char image[kTextSize];
  const bool whole = readWholeText(path, SliderKey(s, kAppKey), image);
  if (image[0] == '\0') return false;
  int level = ReadInt(path, SliderKey(s, kAppLevelKey), 100);
  level = level < 0 ? 0 : level > 100 ? 100 : level;
  rememberStoredApp(s.binding, image, whole, level / 100.0);
  return true;
}

void writeEndpointKey(const Slider& s, const char* path, const char* key, EDataFlow flow) {
  char text[kTextSize];
  if (storedEndpointText(s.binding, flow, text, kTextSize))
    WriteString(path, SliderKey(s, key), text);
}

std::uint32_t readIdentifier(const char* path, const char* key) {
  char text[kTextSize];
  readText(path, key, "0", text);
  return decimalBits(text);
}

void writeIdentifier(const char* path, const char* key, unsigned id) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(id));
  WriteString(path, key, text);
}

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

void Slider::readSettings(const char* path) {
  for (const FieldKey& k : kFieldKeys) {
    if (k.intField != nullptr)
      this->*k.intField = ReadInt(path, SliderKey(*this, k.key), k.defaultValue);
    else
      this->*k.boolField = ReadBool(path, SliderKey(*this, k.key), k.defaultValue != 0);
  }
  const bool bound = ReadBool(path, SliderKey(*this, kBoundKey), false);
  const std::uint32_t device = readIdentifier(path, SliderKey(*this, kDeviceKey));
  const std::uint32_t line = readIdentifier(path, SliderKey(*this, kLineKey));
  const std::uint32_t control = readIdentifier(path, SliderKey(*this, kControlKey));
  char deviceName[kTextSize];
  readText(path, SliderKey(*this, kDeviceNameKey), "", deviceName);
  // An endpoint is bound once the window exists to hear from it.
  rememberStoredEndpoint(binding, eRender, "", true);
  rememberStoredApp(binding, "", true, binding.app.heldLevel);
  if (!rememberEndpointKey(*this, path, kEndpointKey, eRender) &&
      !rememberEndpointKey(*this, path, kMicrophoneKey, eCapture) && !rememberAppKey(*this, path) &&
      bound)
    take(restoreMixerControl(binding, window, device, line, control, deviceName));

  if (alpha < 0) alpha = 0;
  if (alpha > 100) alpha = 100;
  if (wheelStep < 1 || wheelStep > 25) wheelStep = kDefaultWheelStep;

  if (!sizesAcceptable(*this)) {
    resetSizes(*this);
    // A binding made above placed the knob for the refused sizes.
    updateKnobFromValue();
    MessageBoxA(nullptr, kSizesTooSmall, kPluginTitle, MB_TOPMOST | MB_ICONERROR);
  }
  // A slider placed on a monitor beside or above the primary one keeps its
  // place; one that no monitor would show (that monitor has gone) comes back
  // to the primary monitor, whose top-left corner is always 0,0.
  if (!touchesAnyMonitor(x, y, width, height)) {
    x = 10;
    y = 10;
  }
}

void Slider::writeSettings(const char* path) {
  if (path == nullptr || path[0] == '\0') return;  // no file could be named
  for (const FieldKey& k : kFieldKeys) {
    if (k.intField != nullptr)
      WriteInt(path, SliderKey(*this, k.key), this->*k.intField);
    else
      WriteBool(path, SliderKey(*this, k.key), this->*k.boolField);
  }
  // A binding kept from a start without its device is written back as read.
  const WinmmControl& c = binding.winmm;
  const bool stored = c.bound || c.kept;
  WriteBool(path, SliderKey(*this, kBoundKey), stored);
  if (stored) {  // otherwise the file keeps the identifiers it had
    writeIdentifier(path, SliderKey(*this, kDeviceKey), c.deviceId);
    writeIdentifier(path, SliderKey(*this, kLineKey), c.lineId);
    writeIdentifier(path, SliderKey(*this, kControlKey), c.controlId);
    WriteString(path, SliderKey(*this, kDeviceNameKey), c.deviceName);
  }
  writeEndpointKey(*this, path, kEndpointKey, eRender);
  writeEndpointKey(*this, path, kMicrophoneKey, eCapture);
  const char* image = "";
  if (storedAppImage(binding, image)) WriteString(path, SliderKey(*this, kAppKey), image);
  if (appChosen(binding.app))
    WriteInt(path, SliderKey(*this, kAppLevelKey),
             static_cast<int>(heldAppLevel(binding) * 100.0 + 0.5));
}

void readSliders(const char* path) {
  char list[kTextSize];
  readText(path, kSliderListKey, "", list);
  int numbers[kMostSliders];
  const int count = parseSliderNames(list, numbers);
  for (int i = 0; i < count; ++i)
    if (Slider* s = addSlider(numbers[i])) s->readSettings(path);
}

bool writeSliderList(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  int numbers[kMostSliders];
  int count = 0;
  for (int i = 0; Slider* s = sliderAt(i); ++i) numbers[count++] = s->number;
  char list[kTextSize];
  return formatSliderNames(numbers, count, list, kTextSize) &&
         WriteString(path, kSliderListKey, list);
}

// A slider whose window could not be made keeps its keys as they were read.
void writeSliders(const char* path) {
  for (int i = 0; Slider* s = sliderAt(i); ++i)
    if (s->window != nullptr) s->writeSettings(path);
  writeSliderList(path);
}
