#pragma once
// The master volume of an audio endpoint as a slider's volume: a render
// endpoint (speakers, headset) or a capture endpoint (a microphone), the same
// code for both but for the flow. The choice (the default device, or one
// endpoint by ID) is kept apart from the endpoint actually bound: a chosen
// endpoint that is absent leaves the slider unbound until it is active
// again. Everything here runs on the user-interface thread.
#include <windows.h>

#include <endpointvolume.h>

#include "mixer/callbacks.h"
#include "mixer/endpoint_device.h"
#include "mixer/pending_posts.h"

enum class EndpointChoice { Default, Named };

// What a change of the system's endpoints did to the binding.
enum class EndpointChange { None, Bound, Unbound };

struct EndpointVolume {
  EDataFlow flow = eRender;
  EndpointChoice choice = EndpointChoice::Default;
  ERole role = eConsole;  // whose default: the console's, or calls' (eCommunications)
  wchar_t chosenId[kEndpointIdSize] = L"";
  GUID context = {};  // passed with every change made here: its echoes are known
  ComRef<PendingPosts> posts;
  // Kept while chosen: it reports the default changing and endpoints
  // leaving and coming back.
  ComRef<IMMDeviceEnumerator> enumerator;
  DevicesRegistration devices;
  // The endpoint bound now, if any.
  ComRef<IMMDevice> device;
  ComRef<IAudioEndpointVolume> volume;
  VolumeRegistration volumeCallback;
  wchar_t boundId[kEndpointIdSize] = L"";
  char name[kEndpointNameSize] = "";  // the bound endpoint's friendly name

  EndpointVolume() = default;
  EndpointVolume(const EndpointVolume&) = delete;
  EndpointVolume& operator=(const EndpointVolume&) = delete;
};

// Ends the previous choice, then chooses (id: for a named one; e.role for
// the default) and binds the endpoint if it is active now; callbacks post
// through posts. The choice stays either way (unless Core Audio is
// missing): true when bound now.
bool chooseEndpoint(EndpointVolume& e, PendingPosts* posts, const GUID& context,
                    EndpointChoice choice, const wchar_t* id);
// Unregisters every callback, then lets go of everything.
void releaseEndpoint(EndpointVolume& e);
// For kMsgEndpointDevices: follows the default, an endpoint leaving or coming back.
EndpointChange followEndpointChanges(EndpointVolume& e);
// The ID of the number-th active endpoint of flow (from 1), in the order the
// system lists them now.
bool activeEndpointId(EDataFlow flow, unsigned number, wchar_t (&id)[kEndpointIdSize]);

inline bool endpointBound(const EndpointVolume& e) { return static_cast<bool>(e.volume); }

// 0.0 .. 1.0 on the system's own audio taper.
bool readEndpointLevel(const EndpointVolume& e, double& level);
bool writeEndpointLevel(const EndpointVolume& e, double level);
bool readEndpointMute(const EndpointVolume& e, bool& muted);
bool writeEndpointMute(const EndpointVolume& e, bool muted);
