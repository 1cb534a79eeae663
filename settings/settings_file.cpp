#include "settings/settings_file.h"

#include <cstdio>

#include "commands/decimal_number.h"
#include "mixer/bound_volume.h"
#include "plugin/module_state.h"
#include "settings/settings_path.h"
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
    {"kvslider.slider1.x:", &Slider::x, nullptr, 10},
    {"kvslider.slider1.y:", &Slider::y, nullptr, 10},
    {"kvslider.slider1.width:", &Slider::width, nullptr, 200},
    {"kvslider.slider1.height:", &Slider::height, nullptr, 24},
    {"kvslider.slider1.margin:", &Slider::margin, nullptr, 4},
    {"kvslider.slider1.knob.height:", &Slider::knobHeight, nullptr, 16},
    {"kvslider.slider1.knob.width:", &Slider::knobWidth, nullptr, 8},
    {"kvslider.slider1.track.height:", &Slider::trackHeight, nullptr, 8},
    {"kvslider.slider1.transparent:", nullptr, &Slider::transparent, 0},
    {"kvslider.slider1.alwaysontop:", nullptr, &Slider::alwaysOnTop, 1},
    {"kvslider.slider1.snapwindow:", nullptr, &Slider::snapWindow, 1},
    {"kvslider.slider1.togglewithplugins:", nullptr, &Slider::toggleWithPlugins, 0},
    {"kvslider.slider1.draggable:", nullptr, &Slider::draggable, 1},
    {"kvslider.slider1.alpha:", &Slider::alpha, nullptr, 100},
    {"kvslider.slider1.wheelstep:", &Slider::wheelStep, nullptr, kDefaultWheelStep},
};

constexpr char kBoundKey[] = "kvslider.slider1.mixer.set:";
// These three have never had a colon; the file holds them exactly so.
constexpr char kDeviceKey[] = "kvslider.slider1.mixer.device";
constexpr char kLineKey[] = "kvslider.slider1.mixer.line";
constexpr char kControlKey[] = "kvslider.slider1.mixer.control";
// The bound device's product name, for finding it again when indices shift.
constexpr char kDeviceNameKey[] = "kvslider.slider1.mixer.devicename:";
// "default", an audio endpoint's ID, or empty; when set it wins over the mixer control.
constexpr char kEndpointKey[] = "kvslider.slider1.endpoint:";

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
      this->*k.intField = ReadInt(path, k.key, k.defaultValue);
    else
      this->*k.boolField = ReadBool(path, k.key, k.defaultValue != 0);
  }
  const bool bound = ReadBool(path, kBoundKey, false);
  const std::uint32_t device = readIdentifier(path, kDeviceKey);
  const std::uint32_t line = readIdentifier(path, kLineKey);
  const std::uint32_t control = readIdentifier(path, kControlKey);
  char name[kTextSize];
  readText(path, kDeviceNameKey, "", name);
  char endpoint[kTextSize];
  const bool whole = readWholeText(path, kEndpointKey, endpoint);
  rememberStoredEndpoint(endpoint, whole);  // bound once the window exists to hear from it
  if (bound && endpoint[0] == '\0') restoreMixerControl(*this, device, line, control, name);

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
      WriteInt(path, k.key, this->*k.intField);
    else
      WriteBool(path, k.key, this->*k.boolField);
  }
  // A binding kept from a start without its device is written back as read.
  const bool stored = mixerBound || mixerKept;
  WriteBool(path, kBoundKey, stored);
  if (stored) {  // otherwise the file keeps the identifiers it had
    writeIdentifier(path, kDeviceKey, deviceId);
    writeIdentifier(path, kLineKey, lineId);
    writeIdentifier(path, kControlKey, controlId);
    WriteString(path, kDeviceNameKey, deviceName);
  }
  char endpoint[kTextSize];
  if (storedEndpointText(endpoint, kTextSize)) WriteString(path, kEndpointKey, endpoint);
}
