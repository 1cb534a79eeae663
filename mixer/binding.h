#pragma once
// What a slider is bound to, whichever kind of volume it is: nothing, one
// winmm mixer control, the master volume of an audio endpoint (render or
// capture: the speakers or a microphone), or one program's audio sessions.
// Every kind answers the same verbs (mixer/volume_kind.h), and kind alone
// says which record below is live. The functions here return what they read
// (level, mute, failure) and never reach into the slider; the slider puts
// what they return on its knob, tooltip and status.
#include <windows.h>

#include "mixer/app_binding.h"
#include "mixer/endpoint_binding.h"
#include "mixer/pending_posts.h"
#include "mixer/winmm_control.h"

enum class BindingKind { None, Winmm, Endpoint, App };

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

struct Binding {
  BindingKind kind = BindingKind::None;
  GUID context = {};             // passed with every change made here: its echoes are known
  ComRef<PendingPosts> posts;    // to the slider's window, once it has one
  unsigned choices = 0;          // grows with every binding made or ended
  bool setFailureShown = false;  // once per binding, not once per drag step
  // The most the slider lets its volume be (0..1): its own writes stop there,
  // and a level set elsewhere above it is brought down to it.
  double ceiling = 1.0;
  WinmmControl winmm;
  EndpointVolume endpoint;
  AppVolume app;

  Binding() = default;
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;
};

// The slider's own context, and the window its notifications go to (a
// mixer control bound before the window existed reports to it from now on).
void setEventContext(Binding& b, const GUID& context);
void attachWindow(Binding& b, HWND window);

// The verbs, whatever the kind.
bool volumeBound(const Binding& b);  // the knob shows a volume
// False while a bound program has no session: what is held waits for it.
bool volumeRunning(const Binding& b);
const char* volumeName(const Binding& b);  // empty when it has none
bool readVolumeMute(const Binding& b, bool& muted);
bool writeVolumeMute(Binding& b, bool muted);
// A level to the bound volume, at most the ceiling. A set the device refuses
// is reported once per binding and reads the level it really has.
VolumeReading writeVolumeLevel(Binding& b, double level);
// The level the bound volume really has, when it is not the one just
// written (a device may refuse a set, or take another value).
VolumeReading readBackVolumeLevel(const Binding& b, double written);
// A notification as the window thread receives it (MM_MIXM_CONTROL_CHANGE
// with its control, or one of the messages of mixer/volume_messages.h). A
// level set elsewhere above the ceiling is brought down to it at once.
bool isVolumeNotice(UINT message);
VolumeReading followNotice(Binding& b, UINT message, LPARAM detail);
// The user chose nothing; at stop, or when the slider goes, it all goes too.
VolumeReading unbindVolume(Binding& b);

// For the kinds' own rooms: each binding starts by ending the one before.
void startBinding(Binding& b, BindingKind kind);
VolumeReading failedBinding(Binding& b, VolumeFailure failure);
// A newly bound volume: its level and mute as its kind reads them now (or
// with the level its binding has just read), brought down to the ceiling.
VolumeReading boundReading(Binding& b);
VolumeReading boundReading(Binding& b, double level);
