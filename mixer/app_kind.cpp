#include "mixer/app_kind.h"

#include <cstring>

#include "mixer/volume_kind.h"
#include "mixer/volume_messages.h"

namespace {

// What is held for the program, as the knob shows it.
VolumeReading held(const Binding& b, bool rebound) {
  VolumeReading r;
  r.rebound = rebound;
  r.hasLevel = r.hasMute = true;
  r.level = b.app.heldLevel;
  r.muted = b.app.heldMuted;
  return r;
}

bool bound(const Binding&) { return true; }  // held while it does not run
bool running(const Binding& b) { return appRunning(b.app); }
const char* name(const Binding& b) { return b.app.name; }
bool readLevel(const Binding& b, double& level) {
  level = b.app.heldLevel;
  return true;
}
bool writeLevel(Binding& b, double level) {
  setAppLevel(b.app, level);
  return true;
}
bool readMute(const Binding& b, bool& muted) {
  muted = b.app.heldMuted;
  return true;
}
bool writeMute(Binding& b, bool muted) {
  setAppMute(b.app, muted);
  return true;
}

VolumeReading follow(Binding& b, UINT message, LPARAM) {
  switch (message) {
    case kMsgAppSessions: followAppSessions(b.app); break;
    case kMsgAppVolume: followAppVolume(b.app, b.ceiling); break;
    case kMsgEndpointDevices: followAppEndpoints(b.app); break;  // its endpoints come and go too
    default: return VolumeReading{};
  }
  return held(b, false);
}

void release(Binding& b) { releaseApp(b.app); }

}  // namespace

const VolumeKind kAppKind = {bound,    running,   name,   readLevel, writeLevel,
                             readMute, writeMute, follow, release};

VolumeReading bindApp(Binding& b, DWORD process) {
  char image[kAppImageSize];
  if (!findApp(process, image)) {
    VolumeReading r;
    r.failure = VolumeFailure::NoApp;
    return r;
  }
  startBinding(b, BindingKind::App);
  bindApp(b.app, b.posts.get(), b.context, image, true, b.ceiling);
  return held(b, true);
}

VolumeReading restoreApp(Binding& b, const char* image, const char* name, double level) {
  startBinding(b, BindingKind::App);
  b.app.heldLevel = level;
  bindApp(b.app, b.posts.get(), b.context, image != nullptr ? image : "", false, b.ceiling);
  if (image == nullptr) lstrcpynA(b.app.name, name, kAppNameSize);
  return held(b, true);
}

bool boundToApp(const Binding& b, const char* image) {
  return b.kind == BindingKind::App && std::strcmp(b.app.image, image) == 0;
}

bool boundApp(const Binding& b, const char*& image, double& level) {
  if (b.kind != BindingKind::App) return false;
  image = b.app.image;
  level = b.app.heldLevel;
  return true;
}
