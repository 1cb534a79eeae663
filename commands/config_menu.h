#pragma once
#include <windows.h>

#include <mmsystem.h>

#include "host/host_api.h"
#include "mixer/mixer_handle.h"

class Slider;

// The last menu shown, whichever slider's; none until one is.
extern HostMenu configMenu;

// What the menu shows beside the slider's own state.
struct MenuFacts {
  int sliders = 1;            // how many there are now
  bool keptFromFile = false;  // a binding read from the file waits, unbound
};

// Builds the configuration menu of one slider anew from the audio endpoints
// and mixer devices present, and shows it. Its commands name that slider.
void showConfigMenu(const Slider& s, const MenuFacts& facts = MenuFacts());
void deleteConfigMenu();

// "Control": the render endpoints, the microphones, the applications, then
// the mixer devices, each under a heading of its own where there are several.
void addControlItems(HostMenu menu, const Slider& s, const MenuFacts& facts);
bool addEndpointItems(HostMenu menu, const Slider& s);  // false: none could be listed
void addAppMenu(HostMenu menu, const Slider& s);        // "Applications"
// heading: the inert text put first when there is a device to list.
void addDeviceMenus(HostMenu menu, const Slider& s, const MenuFacts& facts,
                    const char* heading = nullptr);
void addDestinationMenus(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                         const MIXERCAPSA& caps);
void addSourceMenus(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                    const MIXERLINEA& destination);
int addVolumeItems(HostMenu menu, const Slider& s, UINT device, const MixerHandle& handle,
                   const MIXERLINEA& line);
void addOptionItems(HostMenu menu, const Slider& s);
void addVisibilityItems(HostMenu menu, const Slider& s);
void addCeilingItems(HostMenu menu, const Slider& s);
// "New slider" and, while there are several, "Remove this slider".
void addSliderItems(HostMenu menu, const Slider& s, const MenuFacts& facts);
