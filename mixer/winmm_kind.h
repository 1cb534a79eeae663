#pragma once
// A winmm mixer control as a kind of volume: its device, line and control.
#include "mixer/binding.h"

// Ends whatever was bound before; the window (once there is one) hears of
// the control's changes.
VolumeReading bindMixerControl(Binding& b, unsigned device, unsigned line, unsigned control);
// The control stored in the settings file, at start: on the device with the
// stored name (the stored index first). False in bound when it cannot be
// made now: no device has the name, or it cannot be opened.
VolumeReading restoreMixerControl(Binding& b, unsigned device, unsigned line, unsigned control,
                                  const char* deviceName, bool& bound);
bool boundToMixerControl(const Binding& b, unsigned line, unsigned control);
