#pragma once
// The verbs every kind of volume answers, as one row of functions: adding a
// kind is a room in mixer/ with its row, and a section of the menu.
#include "mixer/binding.h"

struct VolumeKind {
  bool (*bound)(const Binding& b);  // the knob stands for a volume now
  bool (*running)(const Binding& b);
  const char* (*name)(const Binding& b);  // as users know it
  bool (*readLevel)(const Binding& b, double& level);
  bool (*writeLevel)(Binding& b, double level);  // false: the device refused it
  bool (*readMute)(const Binding& b, bool& muted);
  bool (*writeMute)(Binding& b, bool muted);
  // A notification, of any kind's: each answers its own and leaves the rest.
  VolumeReading (*follow)(Binding& b, UINT message, LPARAM detail);
  void (*release)(Binding& b);
};

extern const VolumeKind kWinmmKind;
extern const VolumeKind kEndpointKind;
extern const VolumeKind kAppKind;
