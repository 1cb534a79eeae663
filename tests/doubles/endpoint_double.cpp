#include "tests/doubles/endpoint_double.h"

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace {

using endpointdouble::Endpoint;
using endpointdouble::Op;

const PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
const GUID kElsewhere = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};

std::atomic<long> references{0};
std::mutex lock;  // the fake's callbacks against the threads that call them

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
  std::lock_guard<std::mutex> held(lock);
  callback->AddRef();
  list.push_back(callback);
  return S_OK;
}

template <typename T>
HRESULT removeCallback(std::vector<T*>& list, T* callback) {
  std::lock_guard<std::mutex> held(lock);
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == callback) {
      list.erase(it);
      callback->Release();
      return S_OK;
    }
  return E_INVALIDARG;
}

// Calls back from a thread of its own, as the system does, and waits for it.
template <typename F>
void fromAnotherThread(F call) {
  std::thread([&] {
    std::lock_guard<std::mutex> held(lock);
    call();
  }).join();
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

// One endpoint: its device, property store and volume in one object.
class FakeEndpoint final : public IMMDevice, public IPropertyStore, public IAudioEndpointVolume {
 public:
  explicit FakeEndpoint(const Endpoint& e) : data(e) {}
  Endpoint data;
  std::vector<IAudioEndpointVolumeCallback*> callbacks;

  void notify(const GUID& context) {
    fromAnotherThread([&] {
      AUDIO_VOLUME_NOTIFICATION_DATA d = {context, data.muted, data.level, 1, {data.level}};
      for (auto* c : callbacks) c->OnNotify(&d);
    });
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answer<IMMDevice, IPropertyStore, IAudioEndpointVolume>(this, iid, out);
  }
  KV_COUNTED_REFERENCES
  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** out) override {
    if (HRESULT f = failure(Op::Activate)) return f;
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
  HRESULT STDMETHODCALLTYPE SetMute(BOOL muted, LPCGUID context) override {
    data.muted = muted != FALSE;
    notify(context != nullptr ? *context : GUID_NULL);
    return S_OK;
  }
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
  int defaultIndex[2] = {-1, -1};  // render, capture
  std::map<Op, HRESULT> failures;
  std::vector<IMMNotificationClient*> clients;
  DWORD cookie = 0;
  FakeSystem system;
  FakeCollection renderList{eRender};
  FakeCollection captureList{eCapture};
  Factory factory;
  std::thread storm;
  std::atomic<bool> storming{false};
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

HRESULT FakeSystem::EnumAudioEndpoints(EDataFlow flow, DWORD, IMMDeviceCollection** out) {
  if (HRESULT f = failure(flow == eCapture ? Op::EnumerateCapture : Op::Enumerate)) return f;
  FakeCollection& list = flow == eCapture ? state().captureList : state().renderList;
  return list.QueryInterface(__uuidof(IMMDeviceCollection), reinterpret_cast<void**>(out));
}

HRESULT FakeSystem::GetDefaultAudioEndpoint(EDataFlow flow, ERole, IMMDevice** out) {
  const int d = state().defaultIndex[flow == eCapture ? 1 : 0];
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
  s.defaultIndex[0] = s.defaultIndex[1] = -1;
  s.failures.clear();
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
  state().defaultIndex[flow == eCapture ? 1 : 0] = index;
  LPCWSTR id = index < 0 ? nullptr : state().endpoints[static_cast<size_t>(index)]->data.id.c_str();
  // The system tells every role; only the console role's change matters here.
  fromAnotherThread([&] {
    for (auto* c : state().clients)
      for (ERole role : {eConsole, eMultimedia, eCommunications})
        c->OnDefaultDeviceChanged(flow, role, id);
  });
}

void setState(size_t index, DWORD newState) {
  FakeEndpoint* e = state().endpoints.at(index);
  e->data.state = newState;
  fromAnotherThread([&] {
    for (auto* c : state().clients) c->OnDeviceStateChanged(e->data.id.c_str(), newState);
  });
}

void startCallbackStorm() {
  state().storming = true;
  state().storm = std::thread([] {
    while (state().storming) {
      {
        std::lock_guard<std::mutex> held(lock);
        AUDIO_VOLUME_NOTIFICATION_DATA d = {kElsewhere, FALSE, 0.25f, 1, {0.25f}};
        for (auto* e : state().endpoints)
          for (auto* c : e->callbacks) c->OnNotify(&d);
        for (auto* c : state().clients) c->OnDefaultDeviceChanged(eRender, eConsole, nullptr);
      }
      Sleep(1);
    }
  });
}

void stopCallbackStorm() {
  state().storming = false;
  if (state().storm.joinable()) state().storm.join();
}

int registeredCallbacks() {
  std::lock_guard<std::mutex> held(lock);
  size_t n = state().clients.size();
  for (auto* e : state().endpoints) n += e->callbacks.size();
  return static_cast<int>(n);
}

long referencesHeld() { return references; }
float level(size_t index) { return state().endpoints.at(index)->data.level; }

}  // namespace endpointdouble
