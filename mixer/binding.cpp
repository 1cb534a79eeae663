#include "mixer/binding.h"

#include <cstring>

#include "mixer/volume_messages.h"
#include "mixer/winmm_device.h"
#include "mixer/winmm_line.h"

namespace {

constexpr char kDefaultEndpoint[] = "default";

BindingKind kindOf(EDataFlow flow) {
  return flow == eCapture ? BindingKind::Microphone : BindingKind::Endpoint;
}

VolumeReading failed(VolumeFailure failure) {
  VolumeReading r;
  r.rebound = true;
  r.failure = failure;
  return r;
}

// A newly bound volume: its level and mute, read now.
VolumeReading boundNow(const Binding& b, double level) {
  VolumeReading r;
  r.rebound = true;
  r.hasLevel = true;
  r.level = level;
  r.hasMute = readVolumeMute(b, r.muted);
  return r;
}

VolumeReading endpointBoundNow(Binding& b) {
  b.setFailureShown = false;
  double level = 0.0;
  VolumeReading r = boundNow(b, 0.0);
  r.hasLevel = readEndpointLevel(b.endpoint, level);
  r.level = level;
  return r;
}

// What is held for the application, as the knob shows it.
VolumeReading appHeld(const Binding& b, bool rebound) {
  VolumeReading r;
  r.rebound = rebound;
  r.hasLevel = r.hasMute = true;
  r.level = b.app.heldLevel;
  r.muted = b.app.heldMuted;
  return r;
}

// The slider's pending posts, made when its window is first known.
PendingPosts* postsFor(Binding& b, HWND window) {
  if (window == nullptr) return nullptr;
  if (!b.posts || b.posts->window() != window) *b.posts.out() = PendingPosts::make(window);
  return b.posts.get();
}

// Ends every binding and forgets every choice.
void endAll(Binding& b) {
  releaseApp(b.app);
  releaseWinmmControl(b.winmm);
  b.winmm.kept = false;
  releaseEndpoint(b.endpoint);
  b.kind = BindingKind::None;
  b.storedTextKept = false;
  b.setFailureShown = false;
}

}  // namespace

void setEventContext(Binding& b, const GUID& context) {
  b.endpoint.context = context;
  b.app.context = context;
}

bool volumeBound(const Binding& b) {
  switch (b.kind) {
    case BindingKind::Winmm: return b.winmm.bound;
    case BindingKind::Endpoint:
    case BindingKind::Microphone: return endpointBound(b.endpoint);
    case BindingKind::App: return appChosen(b.app);  // held while it does not run
    case BindingKind::None: break;
  }
  return false;
}

bool volumeRunning(const Binding& b) { return !appChosen(b.app) || appRunning(b.app); }

bool boundToApp(const Binding& b, const char* image) {
  return appChosen(b.app) && std::strcmp(b.app.image, image) == 0;
}

bool volumeChosen(const Binding& b) {
  return b.winmm.bound || b.winmm.kept || b.endpoint.choice != EndpointChoice::None ||
         appChosen(b.app);
}

const char* volumeName(const Binding& b) {
  if (!volumeBound(b)) return "";
  switch (b.kind) {
    case BindingKind::Winmm: return b.winmm.lineName;
    case BindingKind::Endpoint:
    case BindingKind::Microphone: return b.endpoint.name;
    case BindingKind::App: return b.app.name;
    case BindingKind::None: break;
  }
  return "";
}

bool followsDefaultEndpoint(const Binding& b, EDataFlow flow) {
  return b.endpoint.flow == flow && b.endpoint.choice == EndpointChoice::Default;
}

bool chosenEndpointIs(const Binding& b, EDataFlow flow, const wchar_t* id) {
  return b.endpoint.flow == flow && b.endpoint.choice == EndpointChoice::Named &&
         lstrcmpW(b.endpoint.chosenId, id) == 0;
}

bool boundToMixerControl(const Binding& b, unsigned line, unsigned control) {
  return b.winmm.bound && b.winmm.controlId == control && b.winmm.lineId == line;
}

VolumeReading bindMixerControl(Binding& b, HWND window, unsigned device, unsigned line,
                               unsigned control) {
  endAll(b);
  b.kind = BindingKind::Winmm;
  double level = 0.0;
  switch (bindWinmmControl(b.winmm, window, device, line, control, level)) {
    case WinmmBind::Bound: return boundNow(b, level);
    case WinmmBind::CannotOpen: return failed(VolumeFailure::NoMixerDevice);
    case WinmmBind::CannotRead: break;
  }
  return failed(VolumeFailure::None);  // a control the device does not have: said nowhere
}

VolumeReading restoreMixerControl(Binding& b, HWND window, unsigned device, unsigned line,
                                  unsigned control, const char* deviceName) {
  unsigned present = device;
  VolumeReading r = mixerDeviceFor(device, deviceName, present)
                        ? bindMixerControl(b, window, present, line, control)
                        : failed(VolumeFailure::NoMixerDevice);  // the named device is absent
  if (b.winmm.bound) return r;
  // One start without the device must not cost the user their choice: it is
  // written back as it was read, and bound at the next start that finds it.
  endAll(b);
  b.kind = BindingKind::Winmm;
  b.winmm.deviceId = device;
  b.winmm.lineId = line;
  b.winmm.controlId = control;
  lstrcpynA(b.winmm.deviceName, deviceName != nullptr ? deviceName : "", sizeof b.winmm.deviceName);
  b.winmm.kept = true;
  return r;
}

VolumeReading bindEndpoint(Binding& b, HWND window, EDataFlow flow, unsigned number) {
  endAll(b);
  b.kind = kindOf(flow);
  b.endpoint.flow = flow;
  PendingPosts* posts = postsFor(b, window);
  const bool bound = number == 0 ? bindDefaultEndpoint(b.endpoint, posts)
                                 : bindEndpointNumber(b.endpoint, number, posts);
  if (bound) return endpointBoundNow(b);
  b.kind = BindingKind::None;
  return failed(VolumeFailure::NoEndpoint);
}

VolumeReading bindApp(Binding& b, HWND window, DWORD process) {
  char image[kAppImageSize];
  char name[kAppNameSize];
  if (!findApp(process, image, name)) {
    VolumeReading r;
    r.failure = VolumeFailure::NoApp;
    return r;
  }
  endAll(b);
  b.kind = BindingKind::App;
  appNameOfImage(image, name);
  bindApp(b.app, postsFor(b, window), image, name, true);
  return appHeld(b, true);
}

void unbindVolume(Binding& b) { endAll(b); }

void releaseBinding(Binding& b) { endAll(b); }

VolumeReading writeVolumeLevel(Binding& b, double level) {
  VolumeReading r;
  if (!volumeBound(b)) return r;
  switch (b.kind) {
    case BindingKind::App: setAppLevel(b.app, level); return r;
    // A drag goes on following the mouse either way; a step reads back.
    case BindingKind::Winmm: writeWinmmLevel(b.winmm, level); return r;
    case BindingKind::Endpoint:
    case BindingKind::Microphone: break;
    case BindingKind::None: return r;
  }
  if (writeEndpointLevel(b.endpoint, level)) return r;
  // The endpoint refused (wine does not implement it): say so once, and show
  // the level it really has rather than one it never took.
  if (!b.setFailureShown) r.failure = VolumeFailure::SetRefused;
  b.setFailureShown = true;
  r.hasLevel = readEndpointLevel(b.endpoint, r.level);
  return r;
}

VolumeReading readBackVolumeLevel(const Binding& b, double written) {
  VolumeReading r;
  double level = 0.0;
  // The same raw value is the same level: the knob keeps the exact one, and
  // repeated steps do not drift by what a raw unit cuts off or a driver rounds.
  if (b.winmm.bound && readWinmmLevel(b.winmm, level) && !sameWinmmLevel(level, written)) {
    r.hasLevel = true;
    r.level = level;
  }
  return r;
}

bool readVolumeMute(const Binding& b, bool& muted) {
  switch (b.kind) {
    case BindingKind::Winmm: return readWinmmMute(b.winmm, muted);
    case BindingKind::Endpoint:
    case BindingKind::Microphone: return readEndpointMute(b.endpoint, muted);
    case BindingKind::App: return appChosen(b.app) && (muted = b.app.heldMuted, true);
    case BindingKind::None: break;
  }
  return false;
}

bool writeVolumeMute(Binding& b, bool muted) {
  switch (b.kind) {
    case BindingKind::Winmm: return writeWinmmMute(b.winmm, muted);
    case BindingKind::Endpoint:
    case BindingKind::Microphone: return writeEndpointMute(b.endpoint, muted);
    case BindingKind::App: return appChosen(b.app) && (setAppMute(b.app, muted), true);
    case BindingKind::None: break;
  }
  return false;
}

VolumeReading followMixerChange(const Binding& b, unsigned control) {
  VolumeReading r;
  if (!b.winmm.bound) return r;
  if (b.winmm.muteFound && control == b.winmm.muteControlId)
    r.hasMute = readWinmmMute(b.winmm, r.muted);
  if (control == b.winmm.controlId) r.hasLevel = readWinmmLevel(b.winmm, r.level);
  return r;
}

namespace {

VolumeReading followEndpointVolume(const Binding& b) {
  VolumeReading r;
  if (!endpointBound(b.endpoint)) return r;
  r.hasMute = readEndpointMute(b.endpoint, r.muted);
  r.hasLevel = readEndpointLevel(b.endpoint, r.level);
  return r;
}

VolumeReading followEndpointDevices(Binding& b) {
  switch (followEndpointChanges(b.endpoint)) {
    case EndpointChange::Bound: return endpointBoundNow(b);
    case EndpointChange::Unbound: return failed(VolumeFailure::None);
    case EndpointChange::None: break;
  }
  return VolumeReading{};
}

}  // namespace

VolumeReading followNotice(Binding& b, UINT message) {
  if (b.posts) b.posts->take(message);
  const bool app = b.kind == BindingKind::App;
  switch (message) {
    case kMsgEndpointVolume: return followEndpointVolume(b);
    case kMsgEndpointDevices:
      if (!app) return followEndpointDevices(b);
      followAppEndpoints(b.app);  // an application's endpoints come and go too
      return appHeld(b, false);
    case kMsgAppSessions:
      if (!app) break;
      followAppSessions(b.app);
      return appHeld(b, false);
    case kMsgAppVolume:
      if (!app) break;
      followAppVolume(b.app);
      return appHeld(b, false);
    default: break;
  }
  return VolumeReading{};
}

void rememberStoredEndpoint(Binding& b, EDataFlow flow, const char* text, bool whole) {
  lstrcpynA(b.pendingEndpoint, text != nullptr ? text : "", kStoredTextSize);
  b.pendingWhole = whole;
  b.pendingFlow = flow;
}

VolumeReading restoreStoredEndpoint(Binding& b, HWND window) {
  if (b.pendingEndpoint[0] == '\0') return VolumeReading{};
  wchar_t id[kEndpointIdSize] = L"";
  const bool isDefault = lstrcmpiA(b.pendingEndpoint, kDefaultEndpoint) == 0;
  const bool readable = b.pendingWhole && (isDefault || endpointIdFromText(b.pendingEndpoint, id));
  b.pendingEndpoint[0] = '\0';
  endAll(b);
  b.kind = kindOf(b.pendingFlow);
  b.endpoint.flow = b.pendingFlow;
  b.storedTextKept = !readable;
  // An endpoint that is absent now stays chosen, and is bound when it returns.
  if (readable &&
      restoreEndpoint(b.endpoint, isDefault ? EndpointChoice::Default : EndpointChoice::Named, id,
                      postsFor(b, window)))
    return endpointBoundNow(b);
  return failed(VolumeFailure::NoEndpoint);
}

bool storedEndpointText(const Binding& b, EDataFlow flow, char* text, int size) {
  text[0] = '\0';
  if (b.storedTextKept) return false;
  if (b.endpoint.flow != flow) return true;
  switch (b.endpoint.choice) {
    case EndpointChoice::Default: lstrcpynA(text, kDefaultEndpoint, size); break;
    case EndpointChoice::Named:
      if (!endpointIdToText(b.endpoint.chosenId, text, size)) text[0] = '\0';
      break;
    case EndpointChoice::None: break;
  }
  return true;
}

void directNotificationsTo(Binding& b, HWND window) { notifyWinmmWindow(b.winmm, window); }

void rememberStoredApp(Binding& b, const char* image, bool whole, double level) {
  lstrcpynA(b.pendingApp, image, kStoredTextSize);
  b.pendingAppWhole = whole;
  b.app.heldLevel = level;
}

// A name that cannot be read (cut by the host, or not UTF-8) is kept as the
// file has it, and the slider holds its level for a program that never runs.
VolumeReading restoreStoredApp(Binding& b, HWND window) {
  if (b.pendingApp[0] == '\0') return VolumeReading{};
  char image[kAppImageSize];
  const bool readable = b.pendingAppWhole && storedImageName(b.pendingApp, image);
  char name[kAppNameSize];
  appNameOfImage(readable ? image : b.pendingApp, name);
  b.pendingApp[0] = '\0';
  const double held = b.app.heldLevel;
  endAll(b);
  b.kind = BindingKind::App;
  b.storedTextKept = !readable;
  b.app.heldLevel = held;
  bindApp(b.app, postsFor(b, window), readable ? image : "", name, false);
  return appHeld(b, true);
}

bool storedAppImage(const Binding& b, const char*& image) {
  image = b.app.image;
  return !(b.storedTextKept && b.kind == BindingKind::App);
}

double heldAppLevel(const Binding& b) { return b.app.heldLevel; }
