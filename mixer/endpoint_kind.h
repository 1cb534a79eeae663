#pragma once
// An audio endpoint's master volume as a kind of volume: the speakers (render
// flow) or a microphone (capture flow), the default one or one by ID.
#include "mixer/binding.h"

// Ends whatever was bound before. number 0: the default endpoint of flow
// for role (the console's, or calls'); N: the N-th active one. An endpoint
// that cannot be bound is not chosen.
VolumeReading bindEndpoint(Binding& b, EDataFlow flow, unsigned number, ERole role = eConsole);
// The endpoint stored in the settings file, once the window exists: the
// default of role (id null) or one by ID, chosen even while it is absent, to
// be bound as soon as it is active.
VolumeReading restoreEndpoint(Binding& b, EDataFlow flow, ERole role, const wchar_t* id);

// What is chosen for flow: true with the default (of role), or with the ID in id.
bool endpointChosen(const Binding& b, EDataFlow flow, bool& isDefault, ERole& role,
                    const wchar_t*& id);
bool followsDefaultEndpoint(const Binding& b, EDataFlow flow, ERole role = eConsole);
bool chosenEndpointIs(const Binding& b, EDataFlow flow, const wchar_t* id);
