#include "settings/stored_binding.h"

#include <cstdio>

#include "host/host_api.h"
#include "mixer/app_kind.h"
#include "mixer/endpoint_kind.h"
#include "mixer/winmm_kind.h"
#include "settings/decimal_number.h"
#include "settings/host_text.h"
#include "settings/slider_key.h"

namespace {

constexpr char kBoundKey[] = "mixer.set:";
// These three have never had a colon; the file holds them exactly so.
constexpr char kDeviceKey[] = "mixer.device";
constexpr char kLineKey[] = "mixer.line";
constexpr char kControlKey[] = "mixer.control";
// The bound device's product name, for finding it again when indices shift.
constexpr char kDeviceNameKey[] = "mixer.devicename:";
// "default", "communications" (the default for calls), an audio endpoint's
// ID, or empty; when set it wins over the microphone, and either over the
// program, and all over the mixer control.
constexpr char kEndpointKey[] = "endpoint:";
constexpr char kMicrophoneKey[] = "microphone:";
constexpr char kDefaultEndpoint[] = "default";
constexpr char kCommunicationsEndpoint[] = "communications";
// A program by its image file name ("player.exe", "systemsounds"), and the
// level held for it, in per cent.
constexpr char kAppKey[] = "app:";
constexpr char kAppLevelKey[] = "app.level:";

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

// A key that names something waits for the window; false for an empty one.
bool waitFor(const Slider& s, StoredBinding& stored, const char* path, const char* key,
             StoredBinding::Waiting what) {
  stored.whole = readText(path, SliderKey(s, key), "", stored.text);
  if (stored.text[0] == '\0') return false;
  stored.waiting = what;
  return true;
}

bool waitForApp(const Slider& s, StoredBinding& stored, const char* path) {
  if (!waitFor(s, stored, path, kAppKey, StoredBinding::Waiting::App)) return false;
  int level = ReadInt(path, SliderKey(s, kAppLevelKey), 100);
  level = level < 0 ? 0 : level > 100 ? 100 : level;
  stored.level = level / 100.0;
  return true;
}

void keep(StoredBinding& stored, const Slider& s) {
  stored.kept = true;
  stored.keptAt = s.binding.choices;
}

// An ID the host may have cut, or that is not UTF-8, names no endpoint.
void restoreEndpointKey(Slider& s, StoredBinding& stored, EDataFlow flow) {
  wchar_t id[kEndpointIdSize] = L"";
  const bool calls = lstrcmpiA(stored.text, kCommunicationsEndpoint) == 0;
  const bool isDefault = calls || lstrcmpiA(stored.text, kDefaultEndpoint) == 0;
  if (stored.whole && (isDefault || endpointIdFromText(stored.text, id))) {
    s.take(restoreEndpoint(s.binding, flow, calls ? eCommunications : eConsole,
                           isDefault ? nullptr : id));
    return;
  }
  s.take(failedBinding(s.binding, VolumeFailure::NoEndpoint));
  keep(stored, s);
}

// A name that cannot be read is shown as it is, for a program that never runs.
void restoreAppKey(Slider& s, StoredBinding& stored) {
  char image[kAppImageSize];
  if (stored.whole && storedImageName(stored.text, image)) {
    s.take(restoreApp(s.binding, image, nullptr, stored.level));
    return;
  }
  char name[kAppNameSize];
  appNameOfImage(stored.text, name);
  s.take(restoreApp(s.binding, nullptr, name, stored.level));
  keep(stored, s);
}

void writeEndpointKey(const Slider& s, const char* path, const char* key, EDataFlow flow) {
  char text[kTextSize] = "";
  bool isDefault = false;
  ERole role = eConsole;
  const wchar_t* id = nullptr;
  if (endpointChosen(s.binding, flow, isDefault, role, id)) {
    if (isDefault)
      lstrcpynA(text, role == eCommunications ? kCommunicationsEndpoint : kDefaultEndpoint,
                kTextSize);
    else if (!endpointIdToText(id, text, kTextSize))
      text[0] = '\0';
  }
  WriteString(path, SliderKey(s, key), text);
}

}  // namespace

void readStoredBinding(Slider& s, StoredBinding& stored, const char* path) {
  stored = StoredBinding{};
  const bool bound = ReadBool(path, SliderKey(s, kBoundKey), false);
  const std::uint32_t device = readIdentifier(path, SliderKey(s, kDeviceKey));
  const std::uint32_t line = readIdentifier(path, SliderKey(s, kLineKey));
  const std::uint32_t control = readIdentifier(path, SliderKey(s, kControlKey));
  char deviceName[kTextSize];
  readText(path, SliderKey(s, kDeviceNameKey), "", deviceName);
  if (waitFor(s, stored, path, kEndpointKey, StoredBinding::Waiting::Endpoint) ||
      waitFor(s, stored, path, kMicrophoneKey, StoredBinding::Waiting::Microphone) ||
      waitForApp(s, stored, path) || !bound)
    return;
  // One start without the device must not cost the user their choice: the
  // file keeps it, and the next start that finds the device binds it.
  bool made = false;
  s.take(restoreMixerControl(s.binding, device, line, control, deviceName, made));
  if (!made) keep(stored, s);
}

void restoreStoredBinding(Slider& s, StoredBinding& stored) {
  const StoredBinding::Waiting what = stored.waiting;
  stored.waiting = StoredBinding::Waiting::Nothing;
  switch (what) {
    case StoredBinding::Waiting::Endpoint: restoreEndpointKey(s, stored, eRender); break;
    case StoredBinding::Waiting::Microphone: restoreEndpointKey(s, stored, eCapture); break;
    case StoredBinding::Waiting::App: restoreAppKey(s, stored); break;
    case StoredBinding::Waiting::Nothing: break;
  }
}

bool keptFromFile(const Slider& s, const StoredBinding& stored) {
  return stored.kept && stored.keptAt == s.binding.choices;
}

void writeStoredBinding(const Slider& s, const StoredBinding& stored, const char* path) {
  const char* image = "";
  double level = 1.0;
  const bool app = boundApp(s.binding, image, level);
  if (!keptFromFile(s, stored)) {
    const Binding& b = s.binding;
    const bool mixer = b.kind == BindingKind::Winmm;
    WriteBool(path, SliderKey(s, kBoundKey), mixer);
    if (mixer) {  // otherwise the file keeps the identifiers it had
      writeIdentifier(path, SliderKey(s, kDeviceKey), b.winmm.deviceId);
      writeIdentifier(path, SliderKey(s, kLineKey), b.winmm.lineId);
      writeIdentifier(path, SliderKey(s, kControlKey), b.winmm.controlId);
      WriteString(path, SliderKey(s, kDeviceNameKey), b.winmm.deviceName);
    }
    writeEndpointKey(s, path, kEndpointKey, eRender);
    writeEndpointKey(s, path, kMicrophoneKey, eCapture);
    WriteString(path, SliderKey(s, kAppKey), app ? image : "");
  }
  if (app) WriteInt(path, SliderKey(s, kAppLevelKey), static_cast<int>(level * 100.0 + 0.5));
}
