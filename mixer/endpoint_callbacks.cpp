#include "mixer/endpoint_callbacks.h"

#include <new>

#include "mixer/volume_messages.h"

GUID volumeContextFor(int sliderNumber) {
  GUID context = {0xf5c9eabd, 0x2563, 0x40a9, {0xb5, 0xf3, 0xf3, 0xca, 0x99, 0xa9, 0x09, 0x00}};
  context.Data4[7] = static_cast<unsigned char>(sliderNumber);
  return context;
}

namespace {

// What both callbacks share: one system interface, a reference count, and the
// window they post to. They live on the process heap and the last Release
// frees them, on whichever thread that happens.
template <typename Interface, typename Self>
class Poster : public Interface {
 public:
  explicit Poster(HWND window) : window_(window) {}

  template <typename... Args>
  static Self* make(Args... args) {
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(Self));
    return memory != nullptr ? new (memory) Self(args...) : nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(Interface)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *out = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      Self* self = static_cast<Self*>(this);
      self->~Self();
      HeapFree(GetProcessHeap(), 0, self);
    }
    return static_cast<ULONG>(left);
  }

 protected:
  // A window handle is a value: posting to one that is gone just fails.
  HRESULT post(UINT message) const {
    if (window_ != nullptr) PostMessageA(window_, message, 0, 0);
    return S_OK;
  }

 private:
  LONG references_ = 1;
  const HWND window_;
};

class VolumeCallback final : public Poster<IAudioEndpointVolumeCallback, VolumeCallback> {
 public:
  VolumeCallback(HWND window, const GUID& context) : Poster(window), context_(context) {}
  HRESULT STDMETHODCALLTYPE OnNotify(AUDIO_VOLUME_NOTIFICATION_DATA* data) override {
    if (data != nullptr && IsEqualGUID(data->guidEventContext, context_)) return S_OK;
    return post(kMsgEndpointVolume);
  }

 private:
  const GUID context_;
};

class DevicesCallback final : public Poster<IMMNotificationClient, DevicesCallback> {
 public:
  DevicesCallback(HWND window, EDataFlow flow) : Poster(window), flow_(flow) {}
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override {
    return post(kMsgEndpointDevices);
  }
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return post(kMsgEndpointDevices); }
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return post(kMsgEndpointDevices); }
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
    return flow == flow_ && role == eConsole ? post(kMsgEndpointDevices) : S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
    return S_OK;
  }

 private:
  const EDataFlow flow_;
};

class SessionsCallback final : public Poster<IAudioSessionNotification, SessionsCallback> {
 public:
  using Poster::Poster;
  HRESULT STDMETHODCALLTYPE OnSessionCreated(IAudioSessionControl*) override {
    return post(kMsgAppSessions);
  }
};

class SessionEventsCallback final : public Poster<IAudioSessionEvents, SessionEventsCallback> {
 public:
  SessionEventsCallback(HWND window, const GUID& context) : Poster(window), context_(context) {}
  HRESULT STDMETHODCALLTYPE OnSimpleVolumeChanged(float, BOOL, LPCGUID context) override {
    if (context != nullptr && IsEqualGUID(*context, context_)) return S_OK;
    return post(kMsgAppVolume);
  }
  HRESULT STDMETHODCALLTYPE OnStateChanged(AudioSessionState) override {
    return post(kMsgAppSessions);
  }
  HRESULT STDMETHODCALLTYPE OnSessionDisconnected(AudioSessionDisconnectReason) override {
    return post(kMsgAppSessions);
  }
  HRESULT STDMETHODCALLTYPE OnDisplayNameChanged(LPCWSTR, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnIconPathChanged(LPCWSTR, LPCGUID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnChannelVolumeChanged(DWORD, float*, DWORD, LPCGUID) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnGroupingParamChanged(LPCGUID, LPCGUID) override { return S_OK; }

 private:
  const GUID context_;
};

}  // namespace

IAudioSessionNotification* newSessionsCallback(HWND window) {
  return SessionsCallback::make<HWND>(window);
}

IAudioSessionEvents* newSessionEventsCallback(HWND window, const GUID& context) {
  return SessionEventsCallback::make<HWND, const GUID&>(window, context);
}

IAudioEndpointVolumeCallback* newVolumeCallback(HWND window, const GUID& context) {
  return VolumeCallback::make<HWND, const GUID&>(window, context);
}

IMMNotificationClient* newDevicesCallback(HWND window, EDataFlow flow) {
  return DevicesCallback::make<HWND, EDataFlow>(window, flow);
}
