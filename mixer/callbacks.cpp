#include "mixer/callbacks.h"

#include <new>

#include "mixer/pending_posts.h"
#include "mixer/volume_messages.h"

GUID volumeContextFor(int sliderNumber) {
  GUID context = {0xf5c9eabd, 0x2563, 0x40a9, {0xb5, 0xf3, 0xf3, 0xca, 0x99, 0xa9, 0x09, 0x00}};
  context.Data4[7] = static_cast<unsigned char>(sliderNumber);
  return context;
}

namespace {

// What every callback shares: one system interface, a reference count, and
// the slider's pending posts. They live on the process heap and the last
// Release frees them, on whichever thread that happens.
template <typename Interface, typename Self>
class Poster : public Interface {
 public:
  explicit Poster(PendingPosts* posts) : posts_(posts) { posts_->AddRef(); }
  ~Poster() { posts_->Release(); }
  Poster(const Poster&) = delete;
  Poster& operator=(const Poster&) = delete;

  template <typename... Args>
  static Self* make(PendingPosts* posts, Args... args) {
    if (posts == nullptr) return nullptr;
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(Self));
    return memory != nullptr ? new (memory) Self(posts, args...) : nullptr;
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
  HRESULT post(UINT message) const {
    posts_->post(message);
    return S_OK;
  }

 private:
  LONG references_ = 1;
  PendingPosts* const posts_;
};

class VolumeCallback final : public Poster<IAudioEndpointVolumeCallback, VolumeCallback> {
 public:
  VolumeCallback(PendingPosts* posts, const GUID& context) : Poster(posts), context_(context) {}
  HRESULT STDMETHODCALLTYPE OnNotify(AUDIO_VOLUME_NOTIFICATION_DATA* data) override {
    if (data != nullptr && IsEqualGUID(data->guidEventContext, context_)) return S_OK;
    return post(kMsgEndpointVolume);
  }

 private:
  const GUID context_;
};

class DevicesCallback final : public Poster<IMMNotificationClient, DevicesCallback> {
 public:
  DevicesCallback(PendingPosts* posts, EDataFlow flow) : Poster(posts), flow_(flow) {}
  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override {
    return post(kMsgEndpointDevices);
  }
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return post(kMsgEndpointDevices); }
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return post(kMsgEndpointDevices); }
  // Any role's: the window asks again for the default it follows, and
  // rebinds only where that is another endpoint now.
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole, LPCWSTR) override {
    return flow == flow_ ? post(kMsgEndpointDevices) : S_OK;
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
  SessionEventsCallback(PendingPosts* posts, const GUID& context)
      : Poster(posts), context_(context) {}
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

IAudioSessionNotification* newSessionsCallback(PendingPosts* posts) {
  return SessionsCallback::make(posts);
}

IAudioSessionEvents* newSessionEventsCallback(PendingPosts* posts, const GUID& context) {
  return SessionEventsCallback::make<const GUID&>(posts, context);
}

IAudioEndpointVolumeCallback* newVolumeCallback(PendingPosts* posts, const GUID& context) {
  return VolumeCallback::make<const GUID&>(posts, context);
}

IMMNotificationClient* newDevicesCallback(PendingPosts* posts, EDataFlow flow) {
  return DevicesCallback::make<EDataFlow>(posts, flow);
}

void unregisterDevicesCallback(IMMDeviceEnumerator* source, IMMNotificationClient* callback) {
  source->UnregisterEndpointNotificationCallback(callback);
}

void unregisterVolumeCallback(IAudioEndpointVolume* source,
                              IAudioEndpointVolumeCallback* callback) {
  source->UnregisterControlChangeNotify(callback);
}

void unregisterSessionEvents(IAudioSessionControl* source, IAudioSessionEvents* callback) {
  source->UnregisterAudioSessionNotification(callback);
}

bool listenForDevices(DevicesRegistration& r, IMMDeviceEnumerator* enumerator, PendingPosts* posts,
                      EDataFlow flow) {
  return registerCallback(r, enumerator, newDevicesCallback(posts, flow),
                          [](IMMDeviceEnumerator* e, IMMNotificationClient* c) {
                            return SUCCEEDED(e->RegisterEndpointNotificationCallback(c));
                          });
}

bool listenForVolume(VolumeRegistration& r, IAudioEndpointVolume* volume, PendingPosts* posts,
                     const GUID& context) {
  return registerCallback(r, volume, newVolumeCallback(posts, context),
                          [](IAudioEndpointVolume* v, IAudioEndpointVolumeCallback* c) {
                            return SUCCEEDED(v->RegisterControlChangeNotify(c));
                          });
}

bool listenForSessionEvents(SessionEventsRegistration& r, IAudioSessionControl* session,
                            PendingPosts* posts, const GUID& context) {
  return registerCallback(r, session, newSessionEventsCallback(posts, context),
                          [](IAudioSessionControl* s, IAudioSessionEvents* c) {
                            return SUCCEEDED(s->RegisterAudioSessionNotification(c));
                          });
}
