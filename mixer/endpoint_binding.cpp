#include "mixer/endpoint_binding.h"

#include <utility>

namespace {

void releaseBound(EndpointVolume& e) {
  e.volumeCallback.reset();
  e.volume.reset();
  e.device.reset();
  e.boundId[0] = L'\0';
  e.name[0] = '\0';
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
  listenForVolume(e.volumeCallback, volume.get(), e.posts.get(), e.context);
  friendlyNameOf(device.get(), e.name, kEndpointNameSize);
  e.device = std::move(device);
  e.volume = std::move(volume);
  lstrcpynW(e.boundId, id, kEndpointIdSize);
  return true;
}

IMMDevice* currentDefault(const EndpointVolume& e) {
  IMMDevice* device = nullptr;
  if (FAILED(e.enumerator->GetDefaultAudioEndpoint(e.flow, e.role, &device))) return nullptr;
  return device;
}

IMMDevice* chosenDevice(const EndpointVolume& e) {
  if (e.choice == EndpointChoice::Default) return currentDefault(e);
  IMMDevice* device = nullptr;
  if (FAILED(e.enumerator->GetDevice(e.chosenId, &device))) return nullptr;
  return device;
}

bool bindChosen(EndpointVolume& e) { return e.enumerator && bindDevice(e, chosenDevice(e)); }

// The bound endpoint is still the one the choice names, and active.
bool boundIsCurrent(const EndpointVolume& e) {
  if (!isActiveEndpoint(e.device.get())) return false;
  if (e.choice != EndpointChoice::Default) return true;
  ComRef<IMMDevice> now(currentDefault(e));
  wchar_t id[kEndpointIdSize];
  return now && endpointIdOf(now.get(), id) && lstrcmpW(id, e.boundId) == 0;
}

}  // namespace

bool chooseEndpoint(EndpointVolume& e, PendingPosts* posts, const GUID& context,
                    EndpointChoice choice, const wchar_t* id) {
  releaseEndpoint(e);
  e.choice = choice;
  e.context = context;
  if (choice == EndpointChoice::Named) lstrcpynW(e.chosenId, id, kEndpointIdSize);
  if (posts != nullptr) posts->AddRef();
  *e.posts.out() = posts;
  *e.enumerator.out() = createDeviceEnumerator();
  if (!e.enumerator) return false;
  // Without the callback the binding works, it only does not follow changes.
  listenForDevices(e.devices, e.enumerator.get(), posts, e.flow);
  return bindChosen(e);
}

void releaseEndpoint(EndpointVolume& e) {
  releaseBound(e);
  e.devices.reset();
  e.enumerator.reset();
  e.posts.reset();
  e.chosenId[0] = L'\0';
}

bool activeEndpointId(EDataFlow flow, unsigned number, wchar_t (&id)[kEndpointIdSize]) {
  EndpointList list;
  if (number == 0 || !list.open(flow)) return false;
  ComRef<IMMDevice> device(list.device(number - 1));
  return device && endpointIdOf(device.get(), id);
}

EndpointChange followEndpointChanges(EndpointVolume& e) {
  if (!e.enumerator) return EndpointChange::None;
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
