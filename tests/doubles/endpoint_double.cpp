#include "tests/doubles/endpoint_double.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using endpointdouble::Endpoint;
using endpointdouble::Op;

const PROPERTYKEY kFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
const GUID kElsewhere = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};

std::atomic<long> references{0};
std::mutex lock;  // the fake's state against the threads that fire callbacks

LPWSTR taskCopy(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

HRESULT failure(Op op);

template <typename T>
HRESULT unregister(std::vector<T*>& list, T* callback) {
  std::lock_guard<std::mutex> held(lock);
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == callback) {
      list.erase(it);
      callback->Release();
      return S_OK;
    }
  return E_INVALIDARG;
}

// One endpoint: the device, its property store and its volume in one object.
class FakeEndpoint final : public IMMDevice, public IPropertyStore, public IAudioEndpointVolume {
 public:
  explicit FakeEndpoint(const Endpoint& e) : data(e) {}
  Endpoint data;
  std::vector<IAudioEndpointVolumeCallback*> callbacks;

  void notify(const GUID& context) {
    std::thread([this, context] {
      std::lock_guard<std::mutex> held(lock);
      AUDIO_VOLUME_NOTIFICATION_DATA d = {context, data.muted, data.level, 1, {data.level}};
      for (auto* c : callbacks) c->OnNotify(&d);
    }).join();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMDevice))
      *out = static_cast<IMMDevice*>(this);
    else if (iid == __uuidof(IPropertyStore))
      *out = static_cast<IPropertyStore*>(this);
    else if (iid == __uuidof(IAudioEndpointVolume))
      *out = static_cast<IAudioEndpointVolume*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** out) override {
    if (HRESULT f = failure(Op::Activate)) return f;
    return iid == __uuidof(IAudioEndpointVolume) ? QueryInterface(iid, out) : E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore** out) override {
    return QueryInterface(__uuidof(IPropertyStore), reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* out) override { return *out = taskCopy(data.id), S_OK; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD* out) override { return *out = data.state, S_OK; }

  HRESULT STDMETHODCALLTYPE GetCount(DWORD* out) override { return *out = 1, S_OK; }
  HRESULT STDMETHODCALLTYPE GetAt(DWORD, PROPERTYKEY*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
    PropVariantInit(value);
    if (IsEqualGUID(key.fmtid, kFriendlyName.fmtid) && key.pid == kFriendlyName.pid &&
        !data.name.empty()) {
      value->vt = VT_LPWSTR;
      value->pwszVal = taskCopy(data.name);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* c) override {
    std::lock_guard<std::mutex> held(lock);
    c->AddRef();
    callbacks.push_back(c);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* c) override {
    return unregister(callbacks, c);
  }
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* out) override { return *out = 1, S_OK; }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float level, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* out) override {
    if (HRESULT f = failure(Op::GetLevel)) return f;
    std::lock_guard<std::mutex> held(lock);
    return *out = data.level, S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, float, LPCGUID) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMute(BOOL muted, LPCGUID context) override {
    {
      std::lock_guard<std::mutex> held(lock);
      data.muted = muted != FALSE;
    }
    notify(context != nullptr ? *context : GUID_NULL);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* out) override { return *out = data.muted, S_OK; }
  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolumeRange(float*, float*, float*) override { return E_NOTIMPL; }
};

// The enumerator and the collection it hands out, in one object.
class FakeSystem final : public IMMDeviceEnumerator, public IMMDeviceCollection {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMDeviceEnumerator))
      *out = static_cast<IMMDeviceEnumerator*>(this);
    else if (iid == __uuidof(IMMDeviceCollection))
      *out = static_cast<IMMDeviceCollection*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD,
                                               IMMDeviceCollection** out) override;
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice** out) override;
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR id, IMMDevice** out) override;
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* c) override;
  HRESULT STDMETHODCALLTYPE
  UnregisterEndpointNotificationCallback(IMMNotificationClient* c) override;
  HRESULT STDMETHODCALLTYPE GetCount(UINT* out) override;
  HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** out) override;
};

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
  std::vector<FakeEndpoint*> endpoints;
  int defaultIndex = -1;
  std::map<Op, HRESULT> failures;
  std::vector<IMMNotificationClient*> clients;
  std::vector<endpointdouble::Set> sets;
  DWORD cookie = 0;
  FakeSystem system;
  Factory factory;
  std::thread storm;
  std::atomic<bool> storming{false};
  bool echoes = true;
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

FakeEndpoint* active(UINT index) {
  for (auto* e : state().endpoints)
    if (e->data.state == DEVICE_STATE_ACTIVE && index-- == 0) return e;
  return nullptr;
}

HRESULT handOut(FakeEndpoint* e, IMMDevice** out) {
  if (e == nullptr) return *out = nullptr, HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  e->AddRef();
  return *out = e, S_OK;
}

void fireDevices(LPCWSTR id, DWORD newState, bool defaultChanged) {
  std::thread([=] {
    std::lock_guard<std::mutex> held(lock);
    for (auto* c : state().clients) {
      if (!defaultChanged) c->OnDeviceStateChanged(id, newState);
      // The system tells every role; only the console role's change matters here.
      for (ERole role : {eConsole, eMultimedia, eCommunications})
        if (defaultChanged) c->OnDefaultDeviceChanged(eRender, role, id);
    }
  }).join();
}

HRESULT FakeEndpoint::SetMasterVolumeLevelScalar(float level, LPCGUID context) {
  if (HRESULT f = failure(Op::SetLevel)) return f;
  const GUID c = context != nullptr ? *context : GUID_NULL;
  {
    std::lock_guard<std::mutex> held(lock);
    data.level = level;
    state().sets.push_back({level, c});
  }
  if (state().echoes) notify(c);
  return S_OK;
}

HRESULT FakeSystem::EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection** out) {
  if (HRESULT f = failure(Op::Enumerate)) return f;
  return QueryInterface(__uuidof(IMMDeviceCollection), reinterpret_cast<void**>(out));
}

HRESULT FakeSystem::GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice** out) {
  if (HRESULT f = failure(Op::GetDefault)) return f;
  const int d = state().defaultIndex;
  return handOut(d < 0 ? nullptr : state().endpoints[static_cast<size_t>(d)], out);
}

HRESULT FakeSystem::GetDevice(LPCWSTR id, IMMDevice** out) {
  for (auto* e : state().endpoints)
    if (e->data.id == id) return handOut(e, out);
  return handOut(nullptr, out);
}

HRESULT FakeSystem::RegisterEndpointNotificationCallback(IMMNotificationClient* c) {
  std::lock_guard<std::mutex> held(lock);
  c->AddRef();
  state().clients.push_back(c);
  return S_OK;
}

HRESULT FakeSystem::UnregisterEndpointNotificationCallback(IMMNotificationClient* c) {
  return unregister(state().clients, c);
}

HRESULT FakeSystem::GetCount(UINT* out) {
  UINT n = 0;
  while (active(n) != nullptr) ++n;
  return *out = n, S_OK;
}

HRESULT FakeSystem::Item(UINT index, IMMDevice** out) { return handOut(active(index), out); }

HRESULT Factory::CreateInstance(IUnknown*, REFIID iid, void** out) {
  if (!state().present) return *out = nullptr, REGDB_E_CLASSNOTREG;
  if (HRESULT f = failure(Op::Create)) return *out = nullptr, f;
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
  s.endpoints.clear();
  s.defaultIndex = -1;
  s.failures.clear();
  s.sets.clear();
  s.echoes = true;
}

void addEndpoint(const Endpoint& e) { state().endpoints.push_back(new FakeEndpoint(e)); }

Endpoint endpoint(size_t index) {
  std::lock_guard<std::mutex> held(lock);
  return state().endpoints.at(index)->data;
}

void fail(Op op, HRESULT result) { state().failures[op] = result; }
void setEchoes(bool on) { state().echoes = on; }

void changeElsewhere(size_t index, float level, bool muted) {
  FakeEndpoint* e = state().endpoints.at(index);
  {
    std::lock_guard<std::mutex> held(lock);
    e->data.level = level;
    e->data.muted = muted;
  }
  e->notify(kElsewhere);
}

void switchDefault(int index) {
  state().defaultIndex = index;
  fireDevices(index < 0 ? nullptr : state().endpoints[static_cast<size_t>(index)]->data.id.c_str(),
              0, true);
}

void setState(size_t index, DWORD newState) {
  FakeEndpoint* e = state().endpoints.at(index);
  e->data.state = newState;
  fireDevices(e->data.id.c_str(), newState, false);
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

std::vector<Set> sets() {
  std::lock_guard<std::mutex> held(lock);
  return state().sets;
}

}  // namespace endpointdouble
