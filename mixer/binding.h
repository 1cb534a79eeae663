#pragma once
// What a slider is bound to, whichever kind it is: nothing, one winmm mixer
// control, or the master volume of an audio endpoint, a render one or a
// capture one (a microphone), or one application's audio sessions. The functions here
// return what they read (level, mute, failure) and never reach into the
// slider; the slider puts what they return on its knob, tooltip and status.
#include <wchar.h>

#include "mixer/app_binding.h"
#include "mixer/endpoint_binding.h"
#include "mixer/pending_posts.h"
#include "mixer/winmm_control.h"

enum class BindingKind { None, Winmm, Endpoint, Microphone, App };

enum class VolumeFailure {
  None,
  NoMixerDevice,  // "Unable to open mixer device."
  NoEndpoint,     // "Unable to open audio endpoint."
  SetRefused,     // "Unable to set the volume.", once per binding
  NoApp,          // "Unable to find the application."
};

// What a call found out. A new binding (or the end of one) always shows,
// whatever else changed.
struct VolumeReading {
  bool rebound = false;  // the knob now stands for something else, or nothing
  bool hasLevel = false;
  double level = 0.0;
  bool hasMute = false;
  bool muted = false;
  VolumeFailure failure = VolumeFailure::None;
};

constexpr int kStoredTextSize = 256;

struct Binding {
  // What was chosen last, bound now or not; the functions below go by it.
  BindingKind kind = BindingKind::None;
  ComRef<PendingPosts> posts;  // to the slider's window, once it has one
  WinmmControl winmm = {};
  EndpointVolume endpoint;
  AppVolume app;
  bool setFailureShown = false;  // once per binding, not once per drag step
  // The endpoint or microphone key as read, until the window exists to hear from it.
  char pendingEndpoint[kStoredTextSize] = "";
  bool pendingWhole = false;
  EDataFlow pendingFlow = eRender;
  char pendingApp[kStoredTextSize] = "";  // the application key as read, likewise
  bool pendingAppWhole = false;
  // The stored endpoint or program could not be read (cut, or not UTF-8): the
  // file keeps what the user wrote until another choice is made.
  bool storedTextKept = false;

  Binding() = default;
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;
};

void setEventContext(Binding& b, const GUID& context);

bool volumeBound(const Binding& b);        // the knob shows a volume
bool volumeChosen(const Binding& b);       // bound now, or waiting for its device
const char* volumeName(const Binding& b);  // empty when it has none
// False while the bound application has no session: what is held waits for it.
bool volumeRunning(const Binding& b);
bool boundToApp(const Binding& b, const char* image);
// eRender: the endpoint choice; eCapture: the microphone choice.
bool followsDefaultEndpoint(const Binding& b, EDataFlow flow);
bool chosenEndpointIs(const Binding& b, EDataFlow flow, const wchar_t* id);
bool boundToMixerControl(const Binding& b, unsigned line, unsigned control);

// Each ends whatever was bound before; window hears of later changes.
VolumeReading bindMixerControl(Binding& b, HWND window, unsigned device, unsigned line,
                               unsigned control);
// 0 = the default; N = the N-th active endpoint of the flow.
VolumeReading bindEndpoint(Binding& b, HWND window, EDataFlow flow, unsigned number);
// The mixer control stored in the settings file, at start: on the device with
// the stored name. One that cannot be bound is kept, to be written back at stop.
VolumeReading restoreMixerControl(Binding& b, HWND window, unsigned device, unsigned line,
                                  unsigned control, const char* deviceName);
// The application of the session with process ID process (0: the system
// sounds), taking its level and mute; a process no session has changes nothing.
VolumeReading bindApp(Binding& b, HWND window, DWORD process);
void unbindVolume(Binding& b);    // the user chose nothing: a kept binding goes too
void releaseBinding(Binding& b);  // lets go of everything: at stop, or when the slider goes

// A level to the bound volume. A set the endpoint refuses is reported once per
// binding and reads the level it really has.
VolumeReading writeVolumeLevel(Binding& b, double level);
// The level the bound volume really has, when it is not the one just written
// (a mixer may refuse a set or take another value).
VolumeReading readBackVolumeLevel(const Binding& b, double written);
bool readVolumeMute(const Binding& b, bool& muted);
bool writeVolumeMute(Binding& b, bool muted);

// The bound volume's notifications, as the window thread receives them.
VolumeReading followMixerChange(const Binding& b, unsigned control);  // MM_MIXM_CONTROL_CHANGE
// kMsgEndpointVolume, kMsgEndpointDevices, kMsgAppSessions, kMsgAppVolume:
// the message's mark is taken first, so an event from now on posts anew.
VolumeReading followNotice(Binding& b, UINT message);

// An endpoint in the settings file (the endpoint or the microphone key):
// "default", an endpoint ID, or empty. whole is false for a text that may
// have been cut: it names no endpoint.
void rememberStoredEndpoint(Binding& b, EDataFlow flow, const char* text, bool whole);
VolumeReading restoreStoredEndpoint(Binding& b, HWND window);  // once the window exists
// The key of flow, for writing at stop: empty unless that flow is chosen.
// False when the endpoint keys are to stay as the file has them.
bool storedEndpointText(const Binding& b, EDataFlow flow, char* text, int size);
// A mixer control bound before the window existed reports to it from now on.
void directNotificationsTo(Binding& b, HWND window);
// The application in the settings file, with the level held for it (0..1):
// bound once the window exists; held while it does not run. whole is false
// for a text that may have been cut: it names no program.
void rememberStoredApp(Binding& b, const char* image, bool whole, double level);
VolumeReading restoreStoredApp(Binding& b, HWND window);
// What to store: the application's image ("" for none) and the held level;
// false when the application key is to stay as the file has it.
bool storedAppImage(const Binding& b, const char*& image);
double heldAppLevel(const Binding& b);
