#include "mixer/binding.h"

#include <cmath>

#include "mixer/volume_kind.h"
#include "mixer/volume_messages.h"

namespace {

bool never(const Binding&) { return false; }
bool always(const Binding&) { return true; }
const char* noName(const Binding&) { return ""; }
bool noLevel(const Binding&, double&) { return false; }
bool noWrite(Binding&, double) { return false; }
bool noMute(const Binding&, bool&) { return false; }
bool noMuteWrite(Binding&, bool) { return false; }
VolumeReading noNotice(Binding&, UINT, LPARAM) { return VolumeReading{}; }
void nothingToRelease(Binding&) {}

constexpr VolumeKind kNothing = {never,  always,      noName,   noLevel,         noWrite,
                                 noMute, noMuteWrite, noNotice, nothingToRelease};

const VolumeKind& verbs(const Binding& b) {
  switch (b.kind) {
    case BindingKind::Winmm: return kWinmmKind;
    case BindingKind::Endpoint: return kEndpointKind;
    case BindingKind::App: return kAppKind;
    case BindingKind::None: break;
  }
  return kNothing;
}

// The same level, give or take the raw unit a mixer driver may round by.
bool sameLevel(double a, double b) { return std::fabs(a - b) < 2.0 / 65535.0; }

}  // namespace

void setEventContext(Binding& b, const GUID& context) { b.context = context; }

void attachWindow(Binding& b, HWND window) {
  if (!b.posts || b.posts->window() != window) *b.posts.out() = PendingPosts::make(window);
  if (b.kind == BindingKind::Winmm) notifyWinmmWindow(b.winmm, window);
}

bool volumeBound(const Binding& b) { return verbs(b).bound(b); }

bool volumeRunning(const Binding& b) { return verbs(b).running(b); }

const char* volumeName(const Binding& b) { return volumeBound(b) ? verbs(b).name(b) : ""; }

bool readVolumeMute(const Binding& b, bool& muted) {
  return volumeBound(b) && verbs(b).readMute(b, muted);
}

bool writeVolumeMute(Binding& b, bool muted) {
  return volumeBound(b) && verbs(b).writeMute(b, muted);
}

VolumeReading writeVolumeLevel(Binding& b, double level) {
  VolumeReading r;
  if (!volumeBound(b) || verbs(b).writeLevel(b, level)) return r;
  // Refused (wine's endpoints do not implement it): said once, and the knob
  // shows the level the device really has rather than one it never took.
  if (!b.setFailureShown) r.failure = VolumeFailure::SetRefused;
  b.setFailureShown = true;
  r.hasLevel = verbs(b).readLevel(b, r.level);
  return r;
}

// The same level is kept exactly: repeated steps do not drift by what a raw
// unit cuts off or a driver rounds.
VolumeReading readBackVolumeLevel(const Binding& b, double written) {
  VolumeReading r;
  double level = 0.0;
  if (volumeBound(b) && verbs(b).readLevel(b, level) && !sameLevel(level, written)) {
    r.hasLevel = true;
    r.level = level;
  }
  return r;
}

bool isVolumeNotice(UINT message) {
  return message == MM_MIXM_CONTROL_CHANGE ||
         (message >= kMsgFirstNotice && message <= kMsgLastNotice);
}

// The message's mark is taken first: an event from now on posts anew.
VolumeReading followNotice(Binding& b, UINT message, LPARAM detail) {
  if (b.posts) b.posts->take(message);
  return verbs(b).follow(b, message, detail);
}

VolumeReading unbindVolume(Binding& b) {
  startBinding(b, BindingKind::None);
  VolumeReading r;
  r.rebound = true;  // the knob goes, the mute with it
  return r;
}

void startBinding(Binding& b, BindingKind kind) {
  verbs(b).release(b);
  b.kind = kind;
  b.setFailureShown = false;
  ++b.choices;
}

VolumeReading failedBinding(Binding& b, VolumeFailure failure) {
  VolumeReading r = unbindVolume(b);
  r.failure = failure;
  return r;
}

VolumeReading boundReading(const Binding& b) {
  double level = 0.0;
  const bool read = volumeBound(b) && verbs(b).readLevel(b, level);
  VolumeReading r = boundReading(b, level);
  r.hasLevel = read;
  return r;
}

VolumeReading boundReading(const Binding& b, double level) {
  VolumeReading r;
  r.rebound = true;
  r.hasLevel = true;
  r.level = level;
  r.hasMute = readVolumeMute(b, r.muted);
  return r;
}
