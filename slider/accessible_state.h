#pragma once
// What a slider keeps for accessibility clients (screen readers): the objects
// handed out to them, made at the first request and disconnected when the
// window goes, and what they were last told. A slider no client has asked
// about holds nothing here but zeros, and its changes cost one test of a flag.
#include <windows.h>

#include <oleacc.h>
#include <uiautomationcore.h>

#include "mixer/endpoint_device.h"

// What clients were last told of the slider: changes are told, nothing else.
struct AnnouncedFacts {
  int percent;
  bool muted;
  bool bound;
};

struct AccessibleState {
  ComRef<IAccessible> msaa;               // the slider's own IAccessible, once asked for
  ComRef<IRawElementProviderSimple> uia;  // its UI Automation provider, likewise
  bool asked;    // a client asked for one: changes are announced from then on
  bool focused;  // the window has the keyboard focus (and shows its focus rectangle)
  bool renamed;  // bound to something else since the last announcement
  int held;      // announcements wait while a level set is read back
  AnnouncedFacts announced;
};
