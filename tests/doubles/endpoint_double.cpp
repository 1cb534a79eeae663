#include "tests/doubles/endpoint_double.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace {

using endpointdouble::Endpoint;
using endpointdouble::Op;
using endpointdouble::Session;

const PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
const GUID kElsewhere = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};

std::atomic<long> references{0};
// The fake's callbacks against the threads that call them. Recursive: a
// callback may call the fake back on the thread that delivers to it.
std::recursive_mutex lock;
using Guard = std::lock_guard<std::recursive_mutex>;
std::atomic<DWORD> deliverer{0};

// What the plug-in never calls.
#define KV_UNUSED(method, ...) \
  HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return E_NOTIMPL; }

LPWSTR taskCopy(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

HRESULT failure(Op op);

template <typename T>
HRESULT addCallback(std::vector<T*>& list, T* callback) {
  Guard held(lock);
  callback->AddRef();
  list.push_back(callback);
  return S_OK;
}

template <typename T>
HRESULT removeCallback(std::vector<T*>& list, T* callback) {
  Guard held(lock);
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == callback) {
      list.erase(it);
      callback->Release();
      return S_OK;
    }
  return E_INVALIDARG;
}

template <typename F>
void deliver(F call) {
  Guard held(lock);
  deliverer = GetCurrentThreadId();
  call();
  deliverer = 0;
}

// Calls back from a thread of its own, as the system does, and waits for it.
// A callback that sets a level already runs on such a thread: waiting there
// for yet another one would never end.
template <typename F>
void fromAnotherThread(F call) {
  if (deliverer == GetCurrentThreadId()) return call();
  std::thread([&] { deliver(call); }).join();
}

// A callback may unregister itself or another one while being called: each
// is called only while it is still registered.
template <typename T, typename F>
void forEach(const std::vector<T*>& list, F call) {
  for (T* c : std::vector<T*>(list))
    if (std::find(list.begin(), list.end(), c) != list.end()) call(c);
}

// Reference counts of every fake object go to one counter: what the plug-in holds.
#define KV_COUNTED_REFERENCES                                                            \
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); } \
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

template <typename First, typename Second = First, typename Third = First, typename Self>
HRESULT answer(Self* self, REFIID iid, void** out) {
  if (iid == __uuidof(IUnknown) || iid == __uuidof(First))
    *out = static_cast<First*>(self);
  else if (iid == __uuidof(Second))
    *out = static_cast<Second*>(self);
  else if (iid == __uuidof(Third))
    *out = static_cast<Third*>(self);
  else
    return *out = nullptr, E_NOINTERFACE;
  self->AddRef();
  return S_OK;
}

constexpr HRESULT kInvalidated = AUDCLNT_E_DEVICE_INVALIDATED;

// The session manager of one endpoint.
class FakeManager final : public IAudioSessionManager2 {
 public:
  // The system tells of new sessions only those who registered from the MTA.
  std::vector<IAudioSessionNotification*> fromMta, fromElsewhere;
  // Its sessions not yet expired, in the order they came: a churn leaves
  // thousands of expired ones behind, which no enumeration should wade through.
  std::vector<class FakeSession*> listed;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IAudioSessionManager2, IAudioSessionManager>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE GetSessionEnumerator(IAudioSessionEnumerator** out) override;
  HRESULT STDMETHODCALLTYPE RegisterSessionNotification(IAudioSessionNotification* n) override;
  HRESULT STDMETHODCALLTYPE UnregisterSessionNotification(IAudioSessionNotification* n) override {
    return SUCCEEDED(removeCallback(fromMta, n)) ? S_OK : removeCallback(fromElsewhere, n);
  }
  KV_UNUSED(GetAudioSessionControl, LPCGUID, DWORD, IAudioSessionControl**)
  KV_UNUSED(GetSimpleAudioVolume, LPCGUID, DWORD, ISimpleAudioVolume**)
  KV_UNUSED(RegisterDuckNotification, LPCWSTR, IAudioVolumeDuckNotification*)
  KV_UNUSED(UnregisterDuckNotification, IAudioVolumeDuckNotification*)
};

// One application's session: its control and its volume in one object.
class FakeSession final : public IAudioSessionControl2, public ISimpleAudioVolume {
 public:
  FakeSession(const Session& s, FakeManager* owner, std::wstring instance)
      : data(s), manager(owner), instance_(std::move(instance)) {}
  Session data;
  FakeManager* const manager;
  std::atomic<bool> invalid{false};
  std::vector<IAudioSessionEvents*> events;

  template <typename F>
  void notify(F call) {
    fromAnotherThread([&] { forEach(events, call); });
  }
  void echo(LPCGUID context) {
    const GUID c = context != nullptr ? *context : GUID_NULL;
    notify([&](IAudioSessionEvents* e) { e->OnSimpleVolumeChanged(data.level, data.muted, &c); });
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IAudioSessionControl2, IAudioSessionControl, ISimpleAudioVolume>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE GetState(AudioSessionState* out) override {
    return invalid ? kInvalidated : (*out = data.state, S_OK);
  }
  HRESULT STDMETHODCALLTYPE GetDisplayName(LPWSTR* out) override {
    return invalid ? kInvalidated : (*out = taskCopy(data.displayName), S_OK);
  }
  HRESULT STDMETHODCALLTYPE GetSessionIdentifier(LPWSTR* out) override {
    return invalid ? kInvalidated : (*out = taskCopy(data.identifier), S_OK);
  }
  HRESULT STDMETHODCALLTYPE GetSessionInstanceIdentifier(LPWSTR* out) override {
    return invalid ? kInvalidated : (*out = taskCopy(instance_), S_OK);
  }
  HRESULT STDMETHODCALLTYPE GetProcessId(DWORD* out) override {
    if (data.processIdFails) return E_FAIL;
    return invalid ? kInvalidated : (*out = data.processId, S_OK);
  }
  HRESULT STDMETHODCALLTYPE IsSystemSoundsSession() override {
    return invalid ? kInvalidated : data.systemSounds ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE RegisterAudioSessionNotification(IAudioSessionEvents* e) override {
    return invalid ? kInvalidated : addCallback(events, e);
  }
  // Always possible, so that a plug-in can let go of an invalidated session.
  HRESULT STDMETHODCALLTYPE UnregisterAudioSessionNotification(IAudioSessionEvents* e) override {
    return removeCallback(events, e);
  }
  KV_UNUSED(SetDisplayName, LPCWSTR, LPCGUID)
  KV_UNUSED(GetIconPath, LPWSTR*)
  KV_UNUSED(SetIconPath, LPCWSTR, LPCGUID)
  KV_UNUSED(GetGroupingParam, GUID*)
  KV_UNUSED(SetGroupingParam, LPCGUID, LPCGUID)
  KV_UNUSED(SetDuckingPreference, BOOL)

  HRESULT STDMETHODCALLTYPE SetMasterVolume(float level, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolume(float* out) override {
    return invalid ? kInvalidated : (*out = data.level, S_OK);
  }
  HRESULT STDMETHODCALLTYPE SetMute(BOOL muted, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* out) override {
    return invalid ? kInvalidated : (*out = data.muted, S_OK);
  }

 private:
  const std::wstring instance_;
};

// What one GetSessionEnumerator saw.
class FakeSessionList final : public IAudioSessionEnumerator {
 public:
  explicit FakeSessionList(std::vector<FakeSession*> sessions) : sessions_(std::move(sessions)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IAudioSessionEnumerator>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE GetCount(int* out) override {
    return *out = static_cast<int>(sessions_.size()), S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSession(int i, IAudioSessionControl** out) override {
    if (i < 0 || static_cast<size_t>(i) >= sessions_.size()) return *out = nullptr, E_INVALIDARG;
    return sessions_[static_cast<size_t>(i)]->QueryInterface(__uuidof(IAudioSessionControl),
                                                             reinterpret_cast<void**>(out));
  }

 private:
  const std::vector<FakeSession*> sessions_;
};

// One endpoint: its device, property store and volume in one object.
class FakeEndpoint final : public IMMDevice, public IPropertyStore, public IAudioEndpointVolume {
 public:
  explicit FakeEndpoint(const Endpoint& e) : data(e) {}
  Endpoint data;
  std::vector<IAudioEndpointVolumeCallback*> callbacks;
  FakeManager sessions;

  void notify(const GUID& context) {
    fromAnotherThread([&] {
      AUDIO_VOLUME_NOTIFICATION_DATA d = {context, data.muted, data.level, 1, {data.level}};
      forEach(callbacks, [&](auto* c) { c->OnNotify(&d); });
    });
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IMMDevice, IPropertyStore, IAudioEndpointVolume>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** out) override {
    if (HRESULT f = failure(Op::Activate)) return f;
    if (iid == __uuidof(IAudioSessionManager2) || iid == __uuidof(IAudioSessionManager))
      return sessions.QueryInterface(iid, out);
    return iid == __uuidof(IAudioEndpointVolume) ? QueryInterface(iid, out) : E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** out) override {
    return QueryInterface(__uuidof(IPropertyStore), reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* out) override { return *out = taskCopy(data.id), S_OK; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD* out) override { return *out = data.state, S_OK; }

  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
    PropVariantInit(value);
    if (IsEqualGUID(key.fmtid, kFriendlyName.fmtid) && key.pid == kFriendlyName.pid &&
        !data.name.empty()) {
      value->vt = VT_LPWSTR;
      value->pwszVal = taskCopy(data.name);
    }
    return S_OK;
  }
  KV_UNUSED(GetCount, DWORD*)
  KV_UNUSED(GetAt, DWORD, PROPERTYKEY*)
  KV_UNUSED(SetValue, REFPROPERTYKEY, REFPROPVARIANT)
  KV_UNUSED(Commit)

  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* c) override {
    return addCallback(callbacks, c);
  }
  HRESULT STDMETHODCALLTYPE
  UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* c) override {
    return removeCallback(callbacks, c);
  }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float level, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* out) override {
    if (HRESULT f = failure(Op::GetLevel)) return f;
    return *out = data.level, S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMute(BOOL muted, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* out) override { return *out = data.muted, S_OK; }
  KV_UNUSED(GetChannelCount, UINT*)
  KV_UNUSED(SetMasterVolumeLevel, float, LPCGUID)
  KV_UNUSED(GetMasterVolumeLevel, float*)
  KV_UNUSED(SetChannelVolumeLevel, UINT, float, LPCGUID)
  KV_UNUSED(SetChannelVolumeLevelScalar, UINT, float, LPCGUID)
  KV_UNUSED(GetChannelVolumeLevel, UINT, float*)
  KV_UNUSED(GetChannelVolumeLevelScalar, UINT, float*)
  KV_UNUSED(GetVolumeStepInfo, UINT*, UINT*)
  KV_UNUSED(VolumeStepUp, LPCGUID)
  KV_UNUSED(VolumeStepDown, LPCGUID)
  KV_UNUSED(QueryHardwareSupport, DWORD*)
  KV_UNUSED(GetVolumeRange, float*, float*, float*)
};

// The active endpoints of one flow, as the system lists them.
class FakeCollection final : public IMMDeviceCollection {
 public:
  explicit FakeCollection(EDataFlow flow) : flow_(flow) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IMMDeviceCollection>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE GetCount(UINT* out) override;
  HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** out) override;

 private:
  const EDataFlow flow_;
};

// The enumerator and the class factory in one object.
class FakeSystem final : public IMMDeviceEnumerator {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IMMDeviceEnumerator>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD,
                                               IMMDeviceCollection** out) override;
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice** out) override;
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** out) override;
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* c) override;
  HRESULT STDMETHODCALLTYPE
  UnregisterEndpointNotificationCallback(IMMNotificationClient* c) override;
};

// COM keeps its own reference while the class is registered: not counted.
class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IClassFactory))
      return *out = nullptr, E_NOINTERFACE;
    return *out = this, S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

struct State {
  bool present = true;
  bool echoes = true;
  std::vector<FakeEndpoint*> endpoints;
  int defaultIndex[2][ERole_enum_count] = {{-1, -1, -1}, {-1, -1, -1}};  // per flow and role
  std::map<Op, HRESULT> failures;
  std::vector<IMMNotificationClient*> clients;
  DWORD cookie = 0;
  FakeSystem system;
  FakeCollection renderList{eRender};
  FakeCollection captureList{eCapture};
  Factory factory;
  std::thread storm;
  std::atomic<bool> storming{false};
  std::vector<FakeSession*> sessions;
  std::atomic<bool> lastRegistrationFromMta{false};
  std::thread churn;
  std::atomic<bool> churning{false};
  std::atomic<int> churned{0};
  std::atomic<bool> holdingRegistrations{false};
};

// Never destroyed, and endpoints never freed: a reference the plug-in failed
// to release must not point at freed memory in a later test.
State& state() {
  static State* s = new State;
  return *s;
}

HRESULT failure(Op op) {
  auto it = state().failures.find(op);
  return it == state().failures.end() ? S_OK : it->second;
}

FakeEndpoint* active(EDataFlow flow, UINT index) {
  for (auto* e : state().endpoints)
    if (e->data.flow == flow && e->data.state == DEVICE_STATE_ACTIVE && index-- == 0) return e;
  return nullptr;
}

HRESULT handOut(FakeEndpoint* e, IMMDevice** out) {
  if (e == nullptr) return *out = nullptr, HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  e->AddRef();
  return *out = e, S_OK;
}

HRESULT FakeEndpoint::SetMasterVolumeLevelScalar(float level, LPCGUID context) {
  if (HRESULT f = failure(Op::SetLevel)) return f;
  data.level = level;
  if (state().echoes) notify(context != nullptr ? *context : GUID_NULL);
  return S_OK;
}

HRESULT FakeEndpoint::SetMute(BOOL muted, LPCGUID context) {
  data.muted = muted != FALSE;
  if (state().echoes) notify(context != nullptr ? *context : GUID_NULL);
  return S_OK;
}

HRESULT FakeSession::SetMute(BOOL muted, LPCGUID context) {
  if (invalid) return kInvalidated;
  data.muted = muted != FALSE;
  if (state().echoes) echo(context);
  return S_OK;
}

HRESULT FakeSession::SetMasterVolume(float level, LPCGUID context) {
  if (invalid) return kInvalidated;
  if (!(level >= 0.0f && level <= 1.0f)) return E_INVALIDARG;
  data.level = level;
  if (state().echoes) echo(context);
  return S_OK;
}

HRESULT FakeManager::GetSessionEnumerator(IAudioSessionEnumerator** out) {
  Guard held(lock);
  std::vector<FakeSession*> live;
  for (auto* s : listed)
    if (s->data.state != AudioSessionStateExpired) live.push_back(s);
  *out = new FakeSessionList(std::move(live));
  (*out)->AddRef();
  return S_OK;
}

HRESULT FakeManager::RegisterSessionNotification(IAudioSessionNotification* n) {
  while (state().holdingRegistrations) Sleep(1);  // the system is stuck elsewhere
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  const bool mta = SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && type == APTTYPE_MTA;
  state().lastRegistrationFromMta = mta;
  return addCallback(mta ? fromMta : fromElsewhere, n);
}

size_t newSession(size_t endpoint, const Session& s) {
  static unsigned serial = 0;  // never reset: instance identifiers stay unique
  Guard held(lock);
  const std::wstring instance =
      s.identifier + L"|" + std::to_wstring(++serial) + L"%b" + std::to_wstring(s.processId);
  FakeManager* manager = &state().endpoints.at(endpoint)->sessions;
  state().sessions.push_back(new FakeSession(s, manager, instance));
  manager->listed.push_back(state().sessions.back());
  return state().sessions.size() - 1;
}

FakeSession* session(size_t index) {
  Guard held(lock);
  return state().sessions.at(index);
}

// On a delivering thread.
void announce(FakeSession* s) {
  forEach(s->manager->fromMta, [&](auto* n) { n->OnSessionCreated(s); });
}

void expire(FakeSession* s) {
  s->data.state = AudioSessionStateExpired;
  {
    Guard held(lock);
    auto& listed = s->manager->listed;
    listed.erase(std::remove(listed.begin(), listed.end(), s), listed.end());
  }
  forEach(s->events, [](auto* e) { e->OnStateChanged(AudioSessionStateExpired); });
}

HRESULT FakeSystem::EnumAudioEndpoints(EDataFlow flow, DWORD, IMMDeviceCollection** out) {
  if (HRESULT f = failure(flow == eCapture ? Op::EnumerateCapture : Op::Enumerate)) return f;
  FakeCollection& list = flow == eCapture ? state().captureList : state().renderList;
  return list.QueryInterface(__uuidof(IMMDeviceCollection), reinterpret_cast<void**>(out));
}

HRESULT FakeSystem::GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** out) {
  if (role < 0 || role >= ERole_enum_count) return E_INVALIDARG;
  const int d = state().defaultIndex[flow == eCapture ? 1 : 0][role];
  return handOut(d < 0 ? nullptr : state().endpoints[static_cast<size_t>(d)], out);
}

HRESULT FakeSystem::GetDevice(LPCWSTR id, IMMDevice** out) {
  for (auto* e : state().endpoints)
    if (e->data.id == id) return handOut(e, out);
  return handOut(nullptr, out);
}

HRESULT FakeSystem::RegisterEndpointNotificationCallback(IMMNotificationClient* c) {
  return addCallback(state().clients, c);
}

HRESULT FakeSystem::UnregisterEndpointNotificationCallback(IMMNotificationClient* c) {
  return removeCallback(state().clients, c);
}

HRESULT FakeCollection::GetCount(UINT* out) {
  UINT n = 0;
  while (active(flow_, n) != nullptr) ++n;
  return *out = n, S_OK;
}

HRESULT FakeCollection::Item(UINT index, IMMDevice** out) {
  return handOut(active(flow_, index), out);
}

HRESULT Factory::CreateInstance(IUnknown*, REFIID iid, void** out) {
  if (!state().present) return *out = nullptr, REGDB_E_CLASSNOTREG;
  return state().system.QueryInterface(iid, out);
}

}  // namespace

namespace endpointdouble {

void install() {
  CoRegisterClassObject(__uuidof(MMDeviceEnumerator), &state().factory, CLSCTX_INPROC_SERVER,
                        REGCLS_MULTIPLEUSE, &state().cookie);
}

void uninstall() {
  if (state().cookie != 0) CoRevokeClassObject(state().cookie);
  state().cookie = 0;
}

void reset(bool present) {
  State& s = state();
  s.present = present;
  s.echoes = true;
  s.endpoints.clear();
  for (auto& flow : s.defaultIndex)
    for (int& d : flow) d = -1;
  s.failures.clear();
  s.holdingRegistrations = false;
  Guard held(lock);
  s.sessions.clear();
  s.lastRegistrationFromMta = false;
}

void addEndpoint(const Endpoint& e) { state().endpoints.push_back(new FakeEndpoint(e)); }
void fail(Op op, HRESULT result) { state().failures[op] = result; }
void setEchoes(bool on) { state().echoes = on; }

void changeElsewhere(size_t index, float level, bool muted) {
  FakeEndpoint* e = state().endpoints.at(index);
  e->data.level = level;
  e->data.muted = muted;
  e->notify(kElsewhere);
}

void switchDefault(int index, EDataFlow flow) {
  for (ERole role : {eConsole, eMultimedia, eCommunications}) switchDefault(index, flow, role);
}

void switchDefault(int index, EDataFlow flow, ERole role) {
  state().defaultIndex[flow == eCapture ? 1 : 0][role] = index;
  LPCWSTR id = index < 0 ? nullptr : state().endpoints[static_cast<size_t>(index)]->data.id.c_str();
  fromAnotherThread([&] {
    forEach(state().clients, [&](auto* c) { c->OnDefaultDeviceChanged(flow, role, id); });
  });
}

void setState(size_t index, DWORD newState) {
  FakeEndpoint* e = state().endpoints.at(index);
  e->data.state = newState;
  fromAnotherThread([&] {
    forEach(state().clients,
            [&](auto* c) { c->OnDeviceStateChanged(e->data.id.c_str(), newState); });
  });
}

void startCallbackStorm() {
  state().storming = true;
  state().storm = std::thread([] {
    while (state().storming) {
      deliver([] {
        AUDIO_VOLUME_NOTIFICATION_DATA d = {kElsewhere, FALSE, 0.25f, 1, {0.25f}};
        for (auto* e : state().endpoints) forEach(e->callbacks, [&](auto* c) { c->OnNotify(&d); });
        forEach(state().clients,
                [](auto* c) { c->OnDefaultDeviceChanged(eRender, eConsole, nullptr); });
      });
      Sleep(1);
    }
  });
}

void stopCallbackStorm() {
  state().storming = false;
  if (state().storm.joinable()) state().storm.join();
}

size_t addSession(size_t endpoint, const Session& s) { return newSession(endpoint, s); }

size_t createSession(size_t endpoint, const Session& s) {
  const size_t index = newSession(endpoint, s);
  fromAnotherThread([&] { announce(session(index)); });
  return index;
}

void changeSessionElsewhere(size_t index, float level, bool muted) {
  changeSessionElsewhere(index, level, muted, &kElsewhere);
}

void changeSessionElsewhere(size_t index, float level, bool muted, const GUID* context) {
  FakeSession* s = session(index);
  s->data.level = level;
  s->data.muted = muted;
  s->notify([&](IAudioSessionEvents* e) { e->OnSimpleVolumeChanged(level, muted, context); });
}

void expireSession(size_t index) {
  fromAnotherThread([&] { expire(session(index)); });
}

// As on the system, a disconnected session answers nothing more.
void disconnectSession(size_t index, AudioSessionDisconnectReason reason) {
  session(index)->invalid = true;
  session(index)->notify([&](IAudioSessionEvents* e) { e->OnSessionDisconnected(reason); });
}

void invalidateSession(size_t index) { session(index)->invalid = true; }

// Paced by the clock, not by sleeps alone: a sleep under wine lasts a
// millisecond or more, whatever was asked.
void startSessionChurn(size_t endpoint, const Session& like, int perSecond) {
  Session s = like;
  if (s.identifier.empty()) {
    s.processId = 0x7FFF0C00;
    s.identifier =
        L"{0.0.0.00000000}.{7a1c0de5-0000-4000-8000-000000000001}|\\Device\\"
        L"HarddiskVolume3\\Apps\\churn.exe%b{00000000-0000-0000-0000-000000000000}";
  }
  s.state = AudioSessionStateActive;
  state().churning = true;
  state().churned = 0;
  state().churn = std::thread([endpoint, s, perSecond] {
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const double period = 1.0 / (perSecond > 0 ? perSecond : 1);
    auto waitUntil = [&](double due) {
      for (;;) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const double elapsed = static_cast<double>(now.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart);
        if (!state().churning || elapsed >= due) return;
        Sleep(elapsed + 0.002 < due ? 1 : 0);
      }
    };
    for (int n = 0; state().churning; ++n) {
      waitUntil(n * period);
      const size_t index = newSession(endpoint, s);
      deliver([&] { announce(session(index)); });
      ++state().churned;
      waitUntil((n + 0.5) * period);
      deliver([&] { expire(session(index)); });
    }
  });
}

void stopSessionChurn() {
  state().churning = false;
  if (state().churn.joinable()) state().churn.join();
}

int sessionsChurned() { return state().churned; }

void holdSessionRegistrations(bool hold) { state().holdingRegistrations = hold; }

int sessionNotificationsRegistered() {
  Guard held(lock);
  size_t n = 0;
  for (auto* e : state().endpoints)
    n += e->sessions.fromMta.size() + e->sessions.fromElsewhere.size();
  return static_cast<int>(n);
}

int sessionEventsRegistered() {
  Guard held(lock);
  size_t n = 0;
  for (auto* s : state().sessions) n += s->events.size();
  return static_cast<int>(n);
}

int registeredCallbacks() {
  Guard held(lock);
  size_t n = state().clients.size();
  for (auto* e : state().endpoints) n += e->callbacks.size();
  return static_cast<int>(n) + sessionNotificationsRegistered() + sessionEventsRegistered();
}

bool lastSessionRegistrationFromMta() { return state().lastRegistrationFromMta; }
long referencesHeld() { return references; }
float level(size_t index) { return state().endpoints.at(index)->data.level; }
float sessionLevel(size_t index) { return session(index)->data.level; }
bool sessionMuted(size_t index) { return session(index)->data.muted; }

}  // namespace endpointdouble
