#pragma once
// The only objects of the plug-in that the system calls from its own threads.
// They do nothing but post a message to the window they were made for.
#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

// Passed with every change the plug-in makes, so that its own echoes are known.
extern const GUID kOwnVolumeContext;

// New objects with one reference each, or null when out of memory.
IAudioEndpointVolumeCallback* newVolumeCallback(HWND window);
IMMNotificationClient* newDevicesCallback(HWND window);
