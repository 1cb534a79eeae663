#pragma once
// One program's audio sessions as a kind of volume, held at the level the
// user chose while the program does not run.
#include "mixer/binding.h"

// The program of the session with process ID process (0: the system
// sounds), taking its level and mute; a process no session has changes
// nothing (the reading says so).
VolumeReading bindApp(Binding& b, DWORD process);
// The program stored in the settings file, with the level held for it
// (0..1), once the window exists. image null: a stored name that cannot be
// read (shown as name, never running).
VolumeReading restoreApp(Binding& b, const char* image, const char* name, double level);

bool boundToApp(const Binding& b, const char* image);
// What to store: the program's image (empty for one that could not be read)
// and the level held for it; false when no program is bound.
bool boundApp(const Binding& b, const char*& image, double& level);
