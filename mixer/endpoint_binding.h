#pragma once
// The audio endpoint whose master volume the slider stands for. The choice
// (the default device, or one endpoint by ID) is kept apart from the endpoint
// actually bound: a chosen endpoint that is absent leaves the slider unbound
// until it is active again. Everything here runs on the user-interface thread.
#include <windows.h>

#include "mixer/endpoint_device.h"

enum class EndpointChoice { None, Default, Named };

// What a change of the system's endpoints did to the binding.
enum class EndpointChange { None, Bound, Unbound };

// Each ends the previous endpoint binding first. Notifications go to window.
// False when the endpoint cannot be bound; the choice is then dropped.
bool bindDefaultEndpoint(HWND window);
bool bindEndpointNumber(unsigned number, HWND window);  // 1 = the first active render endpoint
// Keeps the choice even when the endpoint cannot be bound now: it is bound as
// soon as it is active. True when bound now.
bool restoreEndpoint(EndpointChoice choice, const wchar_t* id, HWND window);
void unbindEndpoint();
// Called for kMsgEndpointDevices: follows the default, an endpoint leaving or coming back.
EndpointChange followEndpointChanges();
// Releases everything and leaves the COM apartment: at stop, while the window exists.
void shutDownEndpoints();

EndpointChoice endpointChoice();
const wchar_t* chosenEndpointId();  // the ID of a Named choice, else empty
bool endpointBound();

// 0.0 .. 1.0 on the system's own audio taper.
bool readEndpointLevel(double& level);
bool writeEndpointLevel(double level);
bool readEndpointMute(bool& muted);
bool writeEndpointMute(bool muted);
void boundEndpointName(char* name, int size);
