#pragma once
// A fake MMDeviceEnumerator, registered in the test's COM apartment so that the
// plug-in's CoCreateInstance reaches it: render endpoints with IDs, friendly
// names, levels and states, failures on demand, and callbacks fired from a
// thread of its own as the system fires them.
#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace endpointdouble {

struct Endpoint {
  std::wstring id;
  std::wstring name;  // empty: the endpoint has no friendly name
  float level = 0.5f;
  bool muted = false;
  DWORD state = DEVICE_STATE_ACTIVE;
  EDataFlow flow = eRender;  // a microphone: eCapture
};

enum class Op { Enumerate, EnumerateCapture, Activate, GetLevel, SetLevel };

// Registers the class object in the calling thread's apartment. While
// "absent", creating the enumerator fails as it does without Core Audio.
void install();
void uninstall();
void reset(bool present);  // no endpoints, no default, no failures
void addEndpoint(const Endpoint& endpoint);
void fail(Op op, HRESULT result);  // S_OK: no longer fails
// Off: a set changes the level without calling back, as a benchmark wants it.
void setEchoes(bool on);

// Each changes the fake and then calls the registered callbacks from another
// thread, returning once they have run. Sets and mute changes are echoed so too,
// with the context they came with.
void changeElsewhere(size_t index, float level, bool muted);
// The default of the endpoint's flow; -1: no default.
void switchDefault(int index, EDataFlow flow = eRender);
void setState(size_t index, DWORD state);
// Keeps calling every registered callback from another thread until stopped.
void startCallbackStorm();
void stopCallbackStorm();

float level(size_t index);
int registeredCallbacks();  // volume and device callbacks registered now
long referencesHeld();      // references on the fake's objects not yet released

}  // namespace endpointdouble
