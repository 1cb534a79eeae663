#include "mixer/endpoint_callbacks.h"

#include <new>

#include "mixer/volume_messages.h"

const GUID kOwnVolumeContext = {
    0xf5c9eabd, 0x2563, 0x40a9, {0xb5, 0xf3, 0xf3, 0xca, 0x99, 0xa9, 0x09, 0x42}};

namespace {

// Made on the process heap and freed by the last Release, whichever thread that is on.
template <typename T>
T* make(HWND window) {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(T));
  return memory != nullptr ? new (memory) T(window) : nullptr;
}

template <typename T>
ULONG releaseAndFree(T* object, LONG& references) {
  const LONG left = InterlockedDecrement(&references);
  if (left == 0) {
    object->~T();
    HeapFree(GetProcessHeap(), 0, object);
  }
  return static_cast<ULONG>(left);
}

template <typename Interface>
HRESULT answerQuery(Interface* self, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface)) {
    self->AddRef();
    *out = self;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// A window handle is a value: posting to one that is gone just fails.
void post(HWND window, UINT message) {
  if (window != nullptr) PostMessageA(window, message, 0, 0);
}

class VolumeCallback final : public IAudioEndpointVolumeCallback {
 public:
  explicit VolumeCallback(HWND window) : window_(window) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answerQuery<IAudioEndpointVolumeCallback>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override { return releaseAndFree(this, references_); }

  HRESULT STDMETHODCALLTYPE OnNotify(AUDIO_VOLUME_NOTIFICATION_DATA* data) override {
    if (data != nullptr && IsEqualGUID(data->guidEventContext, kOwnVolumeContext)) return S_OK;
    post(window_, kMsgEndpointVolume);
    return S_OK;
  }

 private:
  LONG references_ = 1;
  const HWND window_;
};

class DevicesCallback final : public IMMNotificationClient {
 public:
  explicit DevicesCallback(HWND window) : window_(window) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return answerQuery<IMMNotificationClient>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override { return releaseAndFree(this, references_); }

  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return changed(); }
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return changed(); }
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return changed(); }
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
    return flow == eRender && role == eConsole ? changed() : S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
    return S_OK;
  }

 private:
  HRESULT changed() {
    post(window_, kMsgEndpointDevices);
    return S_OK;
  }

  LONG references_ = 1;
  const HWND window_;
};

}  // namespace

IAudioEndpointVolumeCallback* newVolumeCallback(HWND window) {
  return make<VolumeCallback>(window);
}

IMMNotificationClient* newDevicesCallback(HWND window) { return make<DevicesCallback>(window); }
