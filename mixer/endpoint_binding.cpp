#include "mixer/endpoint_binding.h"

#include <endpointvolume.h>

#include "mixer/endpoint_apartment.h"
#include "mixer/endpoint_callbacks.h"

namespace {

// Plain pointers rather than scoped references: no static destructor may call
// into COM. Everything is released at stop, or when the choice changes.
struct BoundEndpoint {
  IMMDevice* device;
  IAudioEndpointVolume* volume;
  IAudioEndpointVolumeCallback* callback;  // registered with volume, or null
  wchar_t id[kEndpointIdSize];
};

struct Binding {
  EndpointChoice choice;
  wchar_t chosenId[kEndpointIdSize];
  HWND window;
  // Kept while there is a choice: it reports the default changing and
  // endpoints leaving and coming back.
  IMMDeviceEnumerator* enumerator;
  IMMNotificationClient* devicesCallback;  // registered with enumerator, or null
  BoundEndpoint bound;
};

Binding binding;

void releaseBound() {
  BoundEndpoint& b = binding.bound;
  if (b.callback != nullptr) {
    b.volume->UnregisterControlChangeNotify(b.callback);
    b.callback->Release();
  }
  if (b.volume != nullptr) b.volume->Release();
  if (b.device != nullptr) b.device->Release();
  b = BoundEndpoint{};
}

void releaseAll() {
  releaseBound();
  if (binding.devicesCallback != nullptr) {
    binding.enumerator->UnregisterEndpointNotificationCallback(binding.devicesCallback);
    binding.devicesCallback->Release();
  }
  if (binding.enumerator != nullptr) binding.enumerator->Release();
  binding = Binding{};
}

bool openEnumerator(HWND window) {
  binding.enumerator = createDeviceEnumerator();
  if (binding.enumerator == nullptr) return false;
  binding.window = window;
  // Without the callback the binding works, it only does not follow changes.
  IMMNotificationClient* callback = newDevicesCallback(window);
  if (callback == nullptr) return true;
  if (SUCCEEDED(binding.enumerator->RegisterEndpointNotificationCallback(callback)))
    binding.devicesCallback = callback;
  else
    callback->Release();
  return true;
}

// Binds the volume of device, whose reference it takes over either way.
bool bindDevice(IMMDevice* taken) {
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

  BoundEndpoint& b = binding.bound;
  b.callback = newVolumeCallback(binding.window);
  if (b.callback != nullptr && FAILED(volume->RegisterControlChangeNotify(b.callback))) {
    b.callback->Release();
    b.callback = nullptr;
  }
  b.device = device.release();
  b.volume = volume.release();
  lstrcpynW(b.id, id, kEndpointIdSize);
  return true;
}

IMMDevice* currentDefault() {
  IMMDevice* device = nullptr;
  if (FAILED(binding.enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device)))
    return nullptr;
  return device;
}

IMMDevice* chosenDevice() {
  if (binding.choice == EndpointChoice::Default) return currentDefault();
  IMMDevice* device = nullptr;
  if (FAILED(binding.enumerator->GetDevice(binding.chosenId, &device))) return nullptr;
  return device;
}

bool bindChosen() { return binding.enumerator != nullptr && bindDevice(chosenDevice()); }

bool choose(EndpointChoice choice, const wchar_t* id, HWND window) {
  releaseAll();
  const bool listening = openEnumerator(window);
  binding.choice = choice;
  if (choice == EndpointChoice::Named) lstrcpynW(binding.chosenId, id, kEndpointIdSize);
  return listening && bindChosen();
}

bool chooseOrDrop(EndpointChoice choice, const wchar_t* id, HWND window) {
  if (choose(choice, id, window)) return true;
  releaseAll();
  return false;
}

// The bound endpoint is still the one the choice names, and active.
bool boundIsCurrent() {
  if (!isActiveEndpoint(binding.bound.device)) return false;
  if (binding.choice != EndpointChoice::Default) return true;
  ComRef<IMMDevice> now(currentDefault());
  wchar_t id[kEndpointIdSize];
  return now && endpointIdOf(now.get(), id) && lstrcmpW(id, binding.bound.id) == 0;
}

}  // namespace

bool bindDefaultEndpoint(HWND window) {
  return chooseOrDrop(EndpointChoice::Default, nullptr, window);
}

bool bindEndpointNumber(unsigned number, HWND window) {
  releaseAll();
  wchar_t id[kEndpointIdSize];
  {
    EndpointList list;
    if (number == 0 || !list.open()) return false;
    ComRef<IMMDevice> device(list.device(number - 1));
    if (!device || !endpointIdOf(device.get(), id)) return false;
  }
  return chooseOrDrop(EndpointChoice::Named, id, window);
}

bool restoreEndpoint(EndpointChoice choice, const wchar_t* id, HWND window) {
  if (choice == EndpointChoice::None) {
    releaseAll();
    return false;
  }
  return choose(choice, id, window);
}

void unbindEndpoint() { releaseAll(); }

EndpointChange followEndpointChanges() {
  if (binding.choice == EndpointChoice::None) return EndpointChange::None;
  const bool wasBound = binding.bound.device != nullptr;
  if (wasBound && boundIsCurrent()) return EndpointChange::None;
  releaseBound();
  if (bindChosen()) return EndpointChange::Bound;
  return wasBound ? EndpointChange::Unbound : EndpointChange::None;
}

void shutDownEndpoints() {
  releaseAll();
  leaveComApartment();
}

EndpointChoice endpointChoice() { return binding.choice; }
const wchar_t* chosenEndpointId() { return binding.chosenId; }
bool endpointBound() { return binding.bound.volume != nullptr; }

bool readEndpointLevel(double& level) {
  float scalar = 0.0f;
  if (!endpointBound() || FAILED(binding.bound.volume->GetMasterVolumeLevelScalar(&scalar)))
    return false;
  level = scalar;
  return true;
}

bool writeEndpointLevel(double level) {
  if (!endpointBound()) return false;
  if (!(level > 0.0)) level = 0.0;  // also NaN
  if (level > 1.0) level = 1.0;
  return SUCCEEDED(binding.bound.volume->SetMasterVolumeLevelScalar(static_cast<float>(level),
                                                                    &kOwnVolumeContext));
}

bool readEndpointMute(bool& muted) {
  BOOL value = FALSE;
  if (!endpointBound() || FAILED(binding.bound.volume->GetMute(&value))) return false;
  muted = value != FALSE;
  return true;
}

bool writeEndpointMute(bool muted) {
  return endpointBound() &&
         SUCCEEDED(binding.bound.volume->SetMute(muted ? TRUE : FALSE, &kOwnVolumeContext));
}

void boundEndpointName(char* name, int size) {
  name[0] = '\0';
  if (endpointBound()) friendlyNameOf(binding.bound.device, name, size);
}
