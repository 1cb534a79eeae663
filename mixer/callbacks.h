#pragma once
// The only objects of the plug-in that the system calls from its own threads.
// They do nothing but post a message to their slider's window, through its
// pending posts (so a burst of events is one message).
#include <windows.h>

#include <audiopolicy.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include "mixer/registration.h"

class PendingPosts;

// The event context a slider passes with every change it makes, one of its
// own for each slider number: a slider ignores its own echoes and follows
// everyone else's changes, another slider's too.
GUID volumeContextFor(int sliderNumber);

// New objects with one reference each, or null when out of memory (or
// without posts). The volume callback stays silent for changes made with context.
IAudioEndpointVolumeCallback* newVolumeCallback(PendingPosts* posts, const GUID& context);
// The devices callback hears of the defaults of flow only (every role).
IMMNotificationClient* newDevicesCallback(PendingPosts* posts, EDataFlow flow);
// An application binding's: new sessions of an endpoint, and one session's
// changes (those made with context stay silent).
IAudioSessionNotification* newSessionsCallback(PendingPosts* posts);
IAudioSessionEvents* newSessionEventsCallback(PendingPosts* posts, const GUID& context);

// Held registrations of these callbacks, each unregistered as it goes.
void unregisterDevicesCallback(IMMDeviceEnumerator* source, IMMNotificationClient* callback);
void unregisterVolumeCallback(IAudioEndpointVolume* source, IAudioEndpointVolumeCallback* callback);
void unregisterSessionEvents(IAudioSessionControl* source, IAudioSessionEvents* callback);
using DevicesRegistration =
    Registration<IMMDeviceEnumerator, IMMNotificationClient, unregisterDevicesCallback>;
using VolumeRegistration =
    Registration<IAudioEndpointVolume, IAudioEndpointVolumeCallback, unregisterVolumeCallback>;
using SessionEventsRegistration =
    Registration<IAudioSessionControl, IAudioSessionEvents, unregisterSessionEvents>;

// Registers a new devices callback with enumerator (for flow), and so on.
bool listenForDevices(DevicesRegistration& r, IMMDeviceEnumerator* enumerator, PendingPosts* posts,
                      EDataFlow flow);
bool listenForVolume(VolumeRegistration& r, IAudioEndpointVolume* volume, PendingPosts* posts,
                     const GUID& context);
bool listenForSessionEvents(SessionEventsRegistration& r, IAudioSessionControl* session,
                            PendingPosts* posts, const GUID& context);
