#include "mixer/app_binding.h"

#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr double kSameLevel = 1e-4;  // what a float level keeps of a double

IAudioSessionManager2* managerOf(IMMDevice* device) {
  IAudioSessionManager2* manager = nullptr;
  if (FAILED(device->Activate(__uuidof(IAudioSessionManager2), CLSCTX_INPROC_SERVER, nullptr,
                              reinterpret_cast<void**>(&manager))))
    return nullptr;
  return manager;
}

// Calls visit(session) for each live session of manager; visit returns false to stop.
template <typename Visit>
bool forEachSession(IAudioSessionManager2* manager, Visit visit) {
  ComRef<IAudioSessionEnumerator> sessions;
  int count = 0;
  if (FAILED(manager->GetSessionEnumerator(sessions.out())) || !sessions ||
      FAILED(sessions->GetCount(&count)))
    return false;
  for (int i = 0; i < count; ++i) {
    ComRef<IAudioSessionControl> control;
    ComRef<IAudioSessionControl2> control2;
    AudioSessionState state = AudioSessionStateExpired;
    if (FAILED(sessions->GetSession(i, control.out())) || !control ||
        FAILED(control->QueryInterface(__uuidof(IAudioSessionControl2),
                                       reinterpret_cast<void**>(control2.out()))) ||
        FAILED(control2->GetState(&state)) || state == AudioSessionStateExpired)
      continue;
    if (!visit(control2.get())) return true;
  }
  return true;
}

// The same, over every active render endpoint; false when none could be enumerated.
template <typename Visit>
bool forEachRenderSession(Visit visit) {
  EndpointList list;
  if (!list.open(eRender)) return false;
  bool any = false;
  for (unsigned i = 0; i < list.count(); ++i) {
    ComRef<IMMDevice> device(list.device(i));
    ComRef<IAudioSessionManager2> manager(device ? managerOf(device.get()) : nullptr);
    if (manager && forEachSession(manager.get(), visit)) any = true;
  }
  return any;
}

bool isSystemSounds(DWORD process, IAudioSessionControl2* session) {
  return process == 0 && session->IsSystemSoundsSession() == S_OK;
}

bool registerSessions(MtaWorker* worker, IAudioSessionManager2* manager,
                      IAudioSessionNotification* callback) {
  return worker != nullptr && worker->registerSessions(manager, callback, true);
}

void unwatch(SessionWatch& w) {
  w.sessions.reset();
  w.manager.reset();
  w.endpointId[0] = L'\0';
}

bool watched(const AppVolume& a, const wchar_t* id) {
  for (int i = 0; i < a.watchCount; ++i)
    if (lstrcmpW(a.watches[i].endpointId, id) == 0) return true;
  return false;
}

void watch(AppVolume& a, IMMDevice* device, const wchar_t* id) {
  if (a.watchCount == kMostWatchedEndpoints || watched(a, id)) return;
  SessionWatch& w = a.watches[a.watchCount];
  *w.manager.out() = managerOf(device);
  if (!w.manager) return;
  lstrcpynW(w.endpointId, id, kEndpointIdSize);
  MtaWorker* worker = a.worker.get();
  registerCallback(w.sessions, w.manager.get(), newSessionsCallback(a.posts.get()),
                   [worker](IAudioSessionManager2* m, IAudioSessionNotification* c) {
                     return registerSessions(worker, m, c);
                   });
  ++a.watchCount;
}

// Every active render endpoint watched, and no other.
void watchEndpoints(AppVolume& a) {
  for (int i = a.watchCount - 1; i >= 0; --i) {
    ComRef<IMMDevice> device;
    if (SUCCEEDED(a.enumerator->GetDevice(a.watches[i].endpointId, device.out())) && device &&
        isActiveEndpoint(device.get()))
      continue;
    unwatch(a.watches[i]);
    a.watches[i] = std::move(a.watches[--a.watchCount]);
  }
  EndpointList list;
  if (!list.open(eRender)) return;
  for (unsigned i = 0; i < list.count(); ++i) {
    ComRef<IMMDevice> device(list.device(i));
    wchar_t id[kEndpointIdSize];
    if (device && endpointIdOf(device.get(), id)) watch(a, device.get(), id);
  }
}

void dropSession(AppVolume& a, int index) {
  AppSession& s = a.sessions[index];
  s.events.reset();
  s.volume.reset();
  s.control.reset();
  if (index != a.sessionCount - 1) a.sessions[index] = std::move(a.sessions[a.sessionCount - 1]);
  --a.sessionCount;
}

// A session held already, as the very object the system hands out again.
int heldAt(const AppVolume& a, IAudioSessionControl2* control) {
  for (int i = 0; i < a.sessionCount; ++i)
    if (a.sessions[i].control.get() == control) return i;
  return -1;
}

// A session held already under another object of the system's.
int heldAs(const AppVolume& a, const wchar_t* instance) {
  if (instance[0] == L'\0') return -1;
  for (int i = 0; i < a.sessionCount; ++i)
    if (wcscmp(a.sessions[i].instance, instance) == 0) return i;
  return -1;
}

bool belongs(const AppVolume& a, IAudioSessionControl2* control) {
  char image[kAppImageSize];
  return a.image[0] != '\0' && sessionImage(control, image) && std::strcmp(image, a.image) == 0;
}

// A session of the application seen for the first time: watched and set to what is held.
void adopt(AppVolume& a, IAudioSessionControl2* control, const wchar_t* instance) {
  if (a.sessionCount == kMostAppSessions) return;
  AppSession& s = a.sessions[a.sessionCount];
  if (FAILED(control->QueryInterface(__uuidof(ISimpleAudioVolume),
                                     reinterpret_cast<void**>(s.volume.out()))) ||
      !s.volume)
    return;
  control->AddRef();
  *s.control.out() = control;
  lstrcpynW(s.instance, instance, kEndpointIdSize);
  listenForSessionEvents(s.events, control, a.posts.get(), a.context);
  s.fresh = true;
  if (a.sessionCount == 0) sessionAppName(control, a.image, a.name);
  ++a.sessionCount;
}

// Membership afresh: sessions that went (expired, disconnected, invalidated)
// are dropped; new ones of the application are adopted, marked fresh.
void rescan(AppVolume& a) {
  bool seen[kMostAppSessions] = {};
  for (int w = 0; w < a.watchCount; ++w)
    forEachSession(a.watches[w].manager.get(), [&](IAudioSessionControl2* control) {
      int at = heldAt(a, control);  // no need to ask again who it belongs to
      if (at < 0 && belongs(a, control)) {
        TaskText instance;
        if (FAILED(control->GetSessionInstanceIdentifier(instance.out())))
          *instance.out() = nullptr;
        at = heldAs(a, instance.text());
        if (at < 0 && a.sessionCount < kMostAppSessions) {
          at = a.sessionCount;
          adopt(a, control, instance.text());
        }
      }
      if (at >= 0) seen[at] = true;
      return true;
    });
  for (int i = a.sessionCount - 1; i >= 0; --i)
    if (!seen[i]) dropSession(a, i);
}

enum class Which { All, Fresh };

// The held level and mute on every session, or on the fresh ones alone; a
// session that refuses because its device is gone is dropped. (A session may
// appear as another goes: the one rescan drops one and adopts the other.)
void applyHeld(AppVolume& a, Which which, bool level, bool mute) {
  for (int i = a.sessionCount - 1; i >= 0; --i) {
    if (which == Which::Fresh && !a.sessions[i].fresh) continue;
    a.sessions[i].fresh = false;
    ISimpleAudioVolume* v = a.sessions[i].volume.get();
    const HRESULT r1 =
        level ? v->SetMasterVolume(static_cast<float>(a.heldLevel), &a.context) : S_OK;
    const HRESULT r2 = mute ? v->SetMute(a.heldMuted ? TRUE : FALSE, &a.context) : S_OK;
    if (r1 == AUDCLNT_E_DEVICE_INVALIDATED || r2 == AUDCLNT_E_DEVICE_INVALIDATED) dropSession(a, i);
  }
}

bool readSession(const AppSession& s, double& level, bool& muted) {
  float value = 0.0f;
  BOOL mute = FALSE;
  if (FAILED(s.volume->GetMasterVolume(&value)) || FAILED(s.volume->GetMute(&mute))) return false;
  level = value;
  muted = mute != FALSE;
  return true;
}

}  // namespace

bool findApp(DWORD process, char (&image)[kAppImageSize]) {
  image[0] = '\0';
  forEachRenderSession([&](IAudioSessionControl2* control) {
    DWORD owner = 0;
    if (!isSystemSounds(process, control) &&
        (process == 0 || FAILED(control->GetProcessId(&owner)) || owner != process))
      return true;
    sessionImage(control, image);
    return image[0] == '\0';
  });
  return image[0] != '\0';
}

void unregisterSessionsCallback(IAudioSessionManager2* source,
                                IAudioSessionNotification* callback) {
  if (MtaWorker* worker = MtaWorker::current()) worker->registerSessions(source, callback, false);
}

void bindApp(AppVolume& a, PendingPosts* posts, const GUID& context, const char* image,
             bool takeLevel, double ceiling) {
  releaseApp(a);
  lstrcpynA(a.image, image, kAppImageSize);
  appNameOfImage(image, a.name);
  a.context = context;
  if (a.image[0] == '\0') return;  // no session can be its: held, never running
  if (posts != nullptr) posts->AddRef();
  *a.posts.out() = posts;
  *a.worker.out() = MtaWorker::join();
  *a.enumerator.out() = createDeviceEnumerator();
  if (!a.enumerator) return;  // held, never running
  listenForDevices(a.devices, a.enumerator.get(), posts, eRender);
  watchEndpoints(a);
  rescan(a);
  if (takeLevel && a.sessionCount > 0) readSession(a.sessions[0], a.heldLevel, a.heldMuted);
  if (a.heldLevel > ceiling) a.heldLevel = ceiling;
  applyHeld(a, Which::All, true, true);
}

// In the reverse order of their making: the sessions' registrations, the
// endpoints' (through the worker, which goes after them), then the rest.
void releaseApp(AppVolume& a) {
  while (a.sessionCount > 0) dropSession(a, a.sessionCount - 1);
  while (a.watchCount > 0) unwatch(a.watches[--a.watchCount]);
  a.devices.reset();
  a.enumerator.reset();
  a.worker.reset();
  a.posts.reset();
  a.image[0] = '\0';
  a.name[0] = '\0';
  a.heldMuted = false;
}

void setAppLevel(AppVolume& a, double level) {
  a.heldLevel = level < 0.0 || level != level ? 0.0 : level > 1.0 ? 1.0 : level;
  applyHeld(a, Which::All, true, false);
}

void setAppMute(AppVolume& a, bool muted) {
  a.heldMuted = muted;
  applyHeld(a, Which::All, false, true);
}

void followAppSessions(AppVolume& a) {
  if (!a.enumerator) return;
  rescan(a);
  applyHeld(a, Which::Fresh, true, true);
}

void followAppEndpoints(AppVolume& a) {
  if (!a.enumerator) return;
  watchEndpoints(a);
  followAppSessions(a);
}

bool followAppVolume(AppVolume& a, double ceiling) {
  for (int i = 0; i < a.sessionCount; ++i) {
    double level = 0.0;
    bool muted = false;
    if (!readSession(a.sessions[i], level, muted)) continue;
    const bool moved = level - a.heldLevel > kSameLevel || a.heldLevel - level > kSameLevel;
    const bool toggled = muted != a.heldMuted;
    if (!moved && !toggled) continue;
    a.heldLevel = level > ceiling ? ceiling : level;
    a.heldMuted = muted;
    applyHeld(a, Which::All, moved, toggled);
    return true;
  }
  return false;
}

bool listApps(AddApp add, void* context) {
  constexpr int kMostListed = 64;
  char listed[kMostListed][kAppImageSize];
  int count = 0;
  return forEachRenderSession([&](IAudioSessionControl2* control) {
    char image[kAppImageSize];
    if (!sessionImage(control, image)) return true;
    // The command names a program by a process of its; 0 is the system sounds.
    DWORD process = 0;
    const bool sounds = std::strcmp(image, kSystemSounds) == 0;
    if (!sounds && (FAILED(control->GetProcessId(&process)) || process == 0)) return true;
    for (int i = 0; i < count; ++i)
      if (std::strcmp(listed[i], image) == 0) return true;
    if (count == kMostListed) return false;
    lstrcpynA(listed[count++], image, kAppImageSize);
    char name[kAppNameSize];
    sessionAppName(control, image, name);
    add(context, image, name, sounds ? 0 : process);
    return true;
  });
}
