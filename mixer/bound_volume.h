#pragma once
// The bound volume: what the knob stands for, whichever kind it is. Either one
// winmm mixer control (the Slider's mixer members, mixer/winmm_binding.cpp) or
// the master volume of an audio endpoint (mixer/endpoint_binding.cpp), never
// both. The window procedure, painting, commands and menu go through these.
#include <wchar.h>

class Slider;

bool volumeBound(const Slider& s);  // the knob shows a volume
// Something is chosen, bound now or waiting for its endpoint to come back.
bool volumeChosen(const Slider& s);
bool followsDefaultEndpoint();
bool chosenEndpointIs(const wchar_t* id);

// Each ends whatever was bound before.
void bindMixerControl(Slider& s, unsigned device, unsigned line, unsigned control);
void bindEndpoint(Slider& s, unsigned number);  // 0 = the default device
// The mixer control stored in the settings file, at start: on the device that
// now has the stored name, if the stored index names another. One that cannot
// be bound is kept, to be written back at stop.
void restoreMixerControl(Slider& s, unsigned device, unsigned line, unsigned control,
                         const char* deviceName);
void unbindVolume(Slider& s);

void writeVolume(Slider& s);  // s.value to the bound volume
// The level the bound volume really has, on the knob: a device may refuse a
// set or take another value than the one it was given.
void showVolumeLevel(Slider& s);
// The mute of the bound volume: an endpoint's, or the mixer control line's
// mute control. False when unbound or there is nothing to mute.
bool readVolumeMute(const Slider& s, bool& muted);
bool writeVolumeMute(const Slider& s, bool muted);

// The endpoint's own notifications, as the window thread receives them.
void followEndpointVolume(Slider& s);   // kMsgEndpointVolume
void followEndpointDevices(Slider& s);  // kMsgEndpointDevices

// The endpoint in the settings file: "default", an endpoint ID, or empty.
// whole is false for a text that may have been cut: it names no endpoint.
void rememberStoredEndpoint(const char* text, bool whole);  // while reading
void restoreStoredEndpoint(Slider& s);                      // once the window exists
// For writing at stop; false when the key is to stay as the file has it (a
// stored text that could not be read, and nothing chosen since).
bool storedEndpointText(char* text, int size);
// Ends the endpoint binding while the window still exists; a mixer control
// stays bound, as it always has, until the module unloads.
void releaseVolumeAtStop();
