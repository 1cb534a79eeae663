#pragma once
// The master volume of an audio endpoint as a slider's volume: a render
// endpoint (speakers, headset) or a capture endpoint (a microphone), the same
// code for both but for the flow. The choice (the
// default device, or one endpoint by ID) is kept apart from the endpoint
// actually bound: a chosen endpoint that is absent leaves the slider unbound
// until it is active again. Everything here runs on the user-interface thread.
#include <windows.h>

#include <endpointvolume.h>

#include "mixer/endpoint_device.h"
#include "mixer/pending_posts.h"

enum class EndpointChoice { None, Default, Named };

// What a change of the system's endpoints did to the binding.
enum class EndpointChange { None, Bound, Unbound };

struct EndpointVolume {
  EDataFlow flow = eRender;  // of the choice, set before binding
  EndpointChoice choice = EndpointChoice::None;
  wchar_t chosenId[kEndpointIdSize] = L"";
  ComRef<PendingPosts> posts;  // where the callbacks post
  GUID context = {};           // passed with every change made here: its echoes are known
  // Kept while there is a choice: it reports the default changing and
  // endpoints leaving and coming back.
  ComRef<IMMDeviceEnumerator> enumerator;
  ComRef<IMMNotificationClient> devicesCallback;  // registered with enumerator while held
  // The endpoint bound now, if any.
  ComRef<IMMDevice> device;
  ComRef<IAudioEndpointVolume> volume;
  ComRef<IAudioEndpointVolumeCallback> volumeCallback;  // registered with volume while held
  wchar_t boundId[kEndpointIdSize] = L"";
  char name[kEndpointNameSize] = "";  // the bound endpoint's friendly name

  EndpointVolume() = default;
  EndpointVolume(const EndpointVolume&) = delete;
  EndpointVolume& operator=(const EndpointVolume&) = delete;
};

// Each ends the previous choice first; callbacks post through posts. False
// when the endpoint cannot be bound; the choice is then dropped.
bool bindDefaultEndpoint(EndpointVolume& e, PendingPosts* posts);
// 1 = the first active endpoint of e.flow, in the order the system lists them now.
bool bindEndpointNumber(EndpointVolume& e, unsigned number, PendingPosts* posts);
// Keeps the choice even when the endpoint cannot be bound now: it is bound as
// soon as it is active. True when bound now.
bool restoreEndpoint(EndpointVolume& e, EndpointChoice choice, const wchar_t* id,
                     PendingPosts* posts);
// Unregisters every callback, then lets go of everything.
void releaseEndpoint(EndpointVolume& e);
// For kMsgEndpointDevices: follows the default, an endpoint leaving or coming back.
EndpointChange followEndpointChanges(EndpointVolume& e);

inline bool endpointBound(const EndpointVolume& e) { return static_cast<bool>(e.volume); }

// 0.0 .. 1.0 on the system's own audio taper.
bool readEndpointLevel(const EndpointVolume& e, double& level);
bool writeEndpointLevel(const EndpointVolume& e, double level);
bool readEndpointMute(const EndpointVolume& e, bool& muted);
bool writeEndpointMute(const EndpointVolume& e, bool muted);
