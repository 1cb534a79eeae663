#pragma once
// One winmm mixer control as a slider's volume: its device stays open from a
// successful bind until the binding ends.
#include "mixer/mixer_handle.h"

constexpr int kMixerTextSize = 256;

struct WinmmControl {
  MixerHandle device;     // open while this is the binding
  unsigned deviceId = 0;  // the numbers of the bound control
  unsigned lineId = 0;
  unsigned controlId = 0;
  char deviceName[kMixerTextSize] = "";  // the device's product name
  bool muteFound = false;                // the control's line has a mute control...
  unsigned muteControlId = 0;            // ...with this identifier
  // What users know the control by: its line's name ("Master Volume", "Wave").
  char lineName[MIXER_LONG_NAME_CHARS + 1] = "";

  WinmmControl() = default;
  WinmmControl(const WinmmControl&) = delete;
  WinmmControl& operator=(const WinmmControl&) = delete;
};

enum class WinmmBind { Bound, CannotOpen, CannotRead };

// Closes what was open, then opens device with notify as the window for its
// change notifications (none when null) and reads the control into level.
WinmmBind openWinmmControl(WinmmControl& c, HWND notify, unsigned device, unsigned line,
                           unsigned control, double& level);
void closeWinmmControl(WinmmControl& c);
// A control opened before its window existed is opened again for the window;
// if that fails the old handle still reads and writes, only without notifications.
void notifyWinmmWindow(WinmmControl& c, HWND window);

// The control's value as raw / 65535; false when it cannot be read.
bool readWinmmLevel(const WinmmControl& c, double& level);
// Fetches, then sets truncated(level x 65535); false when either call failed.
bool writeWinmmLevel(const WinmmControl& c, double level);
// The line's mute; false when the line has none or the call failed.
bool readWinmmMute(const WinmmControl& c, bool& muted);
bool writeWinmmMute(const WinmmControl& c, bool muted);
