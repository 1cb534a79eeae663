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

// Over the ceiling by more than a float level keeps of it (a level read back
// as a float is a hair above the double it was set as).
bool aboveCeiling(const Binding& b, double level) { return level > b.ceiling + 1e-4; }

// A level above the ceiling is brought down to it with one write, made with
// the slider's own context: its echo changes nothing.
VolumeReading limited(Binding& b, VolumeReading r) {
  if (!r.hasLevel || !aboveCeiling(b, r.level)) return r;
  const VolumeReading w = writeVolumeLevel(b, b.ceiling);
  r.level = w.hasLevel ? w.level : b.ceiling;
  if (w.failure != VolumeFailure::None) r.failure = w.failure;
  return r;
}

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
  if (level > b.ceiling) level = b.ceiling;
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
  if (b.posts && !b.posts->takeNow(message)) return VolumeReading{};  // the timer brings it back
  return limited(b, verbs(b).follow(b, message, detail));
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

VolumeReading boundReading(Binding& b) {
  double level = 0.0;
  if (volumeBound(b) && verbs(b).readLevel(b, level)) return boundReading(b, level);
  VolumeReading r;
  r.rebound = true;
  r.hasMute = readVolumeMute(b, r.muted);
  return r;
}

VolumeReading boundReading(Binding& b, double level) {
  VolumeReading r;
  r.rebound = true;
  r.hasLevel = true;
  r.level = level;
  r.hasMute = readVolumeMute(b, r.muted);
  return limited(b, r);
}
