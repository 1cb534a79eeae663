#pragma once
#include <windows.h>

#include <mmsystem.h>

#include "host/host_api.h"

class Slider;

// Builds the configuration menu of one slider anew from the audio endpoints
// and mixer devices present, and shows it. Its commands name that slider.
void showConfigMenu(const Slider& s);

// "Control": the render endpoints, the microphones, the applications, then
// the mixer devices.
void addControlItems(HostMenu menu, const Slider& s);
void addEndpointItems(HostMenu menu, const Slider& s);
void addAppMenu(HostMenu menu, const Slider& s);  // "Applications"
void addDeviceMenus(HostMenu menu, const Slider& s);
void addDestinationMenus(HostMenu menu, const Slider& s, UINT device, HMIXER handle,
                         const MIXERCAPSA& caps);
void addSourceMenus(HostMenu menu, const Slider& s, UINT device, HMIXER handle,
                    const MIXERLINEA& destination);
int addVolumeItems(HostMenu menu, const Slider& s, UINT device, HMIXER handle,
                   const MIXERLINEA& line);
void addOptionItems(HostMenu menu, const Slider& s);
void addVisibilityItems(HostMenu menu, const Slider& s);
// "New slider" and, while there are several, "Remove this slider".
void addSliderItems(HostMenu menu, const Slider& s);
