#pragma once
#include <windows.h>

#include <mmsystem.h>

#include "host/host_api.h"

// Builds the configuration menu anew from the audio endpoints and mixer devices
// present, and shows it.
void showConfigMenu();

// "Control": the audio endpoints, then the mixer devices.
void addControlItems(HostMenu menu);
void addEndpointItems(HostMenu menu);
void addDeviceMenus(HostMenu menu);
void addDestinationMenus(HostMenu menu, UINT device, HMIXER handle, const MIXERCAPSA& caps);
void addSourceMenus(HostMenu menu, UINT device, HMIXER handle, const MIXERLINEA& destination);
int addVolumeItems(HostMenu menu, UINT device, HMIXER handle, const MIXERLINEA& line);
void addOptionItems(HostMenu menu);
void addVisibilityItems(HostMenu menu);
