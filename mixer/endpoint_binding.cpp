#include "mixer/endpoint_binding.h"

#include <utility>

#include "mixer/endpoint_callbacks.h"

namespace {

void releaseBound(EndpointVolume& e) {
  if (e.volumeCallback) e.volume->UnregisterControlChangeNotify(e.volumeCallback.get());
  e.volumeCallback.reset();
  e.volume.reset();
  e.device.reset();
  e.boundId[0] = L'\0';
  e.name[0] = '\0';
}

void releaseAll(EndpointVolume& e) {
  releaseBound(e);
  if (e.devicesCallback)
    e.enumerator->UnregisterEndpointNotificationCallback(e.devicesCallback.get());
  e.devicesCallback.reset();
  e.enumerator.reset();
  e.choice = EndpointChoice::None;
  e.chosenId[0] = L'\0';
  e.posts.reset();
}

bool openEnumerator(EndpointVolume& e, PendingPosts* posts) {
  *e.enumerator.out() = createDeviceEnumerator();
  if (!e.enumerator) return false;
  if (posts != nullptr) posts->AddRef();
  *e.posts.out() = posts;
  // Without the callback the binding works, it only does not follow changes.
  ComRef<IMMNotificationClient> callback(newDevicesCallback(posts, e.flow));
  if (callback && SUCCEEDED(e.enumerator->RegisterEndpointNotificationCallback(callback.get())))
    e.devicesCallback = std::move(callback);
  return true;
}

// Binds the volume of device, whose reference it takes over either way.
bool bindDevice(EndpointVolume& e, IMMDevice* taken) {
  ComRef<IMMDevice> device(taken);
  wchar_t id[kEndpointIdSize];
  if (!device || !isActiveEndpoint(device.get()) || !endpointIdOf(device.get(), id)) return false;
  ComRef<IAudioEndpointVolume> volume;
  if (FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, nullptr,
                              reinterpret_cast<void**>(volume.out()))) ||
      !volume)
    return false;
  float level = 0.0f;
  if (FAILED(volume->GetMasterVolumeLevelScalar(&level))) return false;  // nothing to show

  ComRef<IAudioEndpointVolumeCallback> callback(newVolumeCallback(e.posts.get(), e.context));
  if (callback && SUCCEEDED(volume->RegisterControlChangeNotify(callback.get())))
    e.volumeCallback = std::move(callback);
  friendlyNameOf(device.get(), e.name, kEndpointNameSize);
  e.device = std::move(device);
  e.volume = std::move(volume);
  lstrcpynW(e.boundId, id, kEndpointIdSize);
  return true;
}

IMMDevice* currentDefault(const EndpointVolume& e) {
  IMMDevice* device = nullptr;
  if (FAILED(e.enumerator->GetDefaultAudioEndpoint(e.flow, eConsole, &device))) return nullptr;
  return device;
}

IMMDevice* chosenDevice(const EndpointVolume& e) {
  if (e.choice == EndpointChoice::Default) return currentDefault(e);
  IMMDevice* device = nullptr;
  if (FAILED(e.enumerator->GetDevice(e.chosenId, &device))) return nullptr;
  return device;
}

bool bindChosen(EndpointVolume& e) { return e.enumerator && bindDevice(e, chosenDevice(e)); }

bool choose(EndpointVolume& e, EndpointChoice choice, const wchar_t* id, PendingPosts* posts) {
  releaseAll(e);
  const bool listening = openEnumerator(e, posts);
  e.choice = choice;
  if (choice == EndpointChoice::Named) lstrcpynW(e.chosenId, id, kEndpointIdSize);
  return listening && bindChosen(e);
}

bool chooseOrDrop(EndpointVolume& e, EndpointChoice choice, const wchar_t* id,
                  PendingPosts* posts) {
  if (choose(e, choice, id, posts)) return true;
  releaseAll(e);
  return false;
}

// The bound endpoint is still the one the choice names, and active.
bool boundIsCurrent(const EndpointVolume& e) {
  if (!isActiveEndpoint(e.device.get())) return false;
  if (e.choice != EndpointChoice::Default) return true;
  ComRef<IMMDevice> now(currentDefault(e));
  wchar_t id[kEndpointIdSize];
  return now && endpointIdOf(now.get(), id) && lstrcmpW(id, e.boundId) == 0;
}

}  // namespace

bool bindDefaultEndpoint(EndpointVolume& e, PendingPosts* posts) {
  return chooseOrDrop(e, EndpointChoice::Default, nullptr, posts);
}

bool bindEndpointNumber(EndpointVolume& e, unsigned number, PendingPosts* posts) {
  releaseAll(e);
  wchar_t id[kEndpointIdSize];
  {
    EndpointList list;
    if (number == 0 || !list.open(e.flow)) return false;
    ComRef<IMMDevice> device(list.device(number - 1));
    if (!device || !endpointIdOf(device.get(), id)) return false;
  }
  return chooseOrDrop(e, EndpointChoice::Named, id, posts);
}

bool restoreEndpoint(EndpointVolume& e, EndpointChoice choice, const wchar_t* id,
                     PendingPosts* posts) {
  if (choice == EndpointChoice::None) {
    releaseAll(e);
    return false;
  }
  return choose(e, choice, id, posts);
}

void releaseEndpoint(EndpointVolume& e) { releaseAll(e); }

EndpointChange followEndpointChanges(EndpointVolume& e) {
  if (e.choice == EndpointChoice::None) return EndpointChange::None;
  const bool wasBound = static_cast<bool>(e.device);
  if (wasBound && boundIsCurrent(e)) return EndpointChange::None;
  releaseBound(e);
  if (bindChosen(e)) return EndpointChange::Bound;
  return wasBound ? EndpointChange::Unbound : EndpointChange::None;
}

bool readEndpointLevel(const EndpointVolume& e, double& level) {
  float scalar = 0.0f;
  if (!endpointBound(e) || FAILED(e.volume->GetMasterVolumeLevelScalar(&scalar))) return false;
  level = scalar;
  return true;
}

bool writeEndpointLevel(const EndpointVolume& e, double level) {
  if (!endpointBound(e)) return false;
  if (!(level > 0.0)) level = 0.0;  // also NaN
  if (level > 1.0) level = 1.0;
  return SUCCEEDED(e.volume->SetMasterVolumeLevelScalar(static_cast<float>(level), &e.context));
}

bool readEndpointMute(const EndpointVolume& e, bool& muted) {
  BOOL value = FALSE;
  if (!endpointBound(e) || FAILED(e.volume->GetMute(&value))) return false;
  muted = value != FALSE;
  return true;
}

bool writeEndpointMute(const EndpointVolume& e, bool muted) {
  return endpointBound(e) && SUCCEEDED(e.volume->SetMute(muted ? TRUE : FALSE, &e.context));
}
