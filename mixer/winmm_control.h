#pragma once
// One winmm mixer control as a slider's volume: the device stays open from a
// successful bind until the binding is released, and is addressed by its
// handle, never by its index (the index could name another device by now).
// clang-format off
#include <windows.h>
#include <mmsystem.h>  // needs windows.h first
// clang-format on

constexpr int kMixerTextSize = 256;

struct WinmmControl {
  HMIXER handle;  // open while bound
  bool bound;     // open, and its control read
  // A stored binding that could not be made at start: not bound, but written
  // back at stop until the user chooses another.
  bool kept;
  unsigned deviceId;  // the numbers of the last bind request, kept when it fails
  unsigned lineId;
  unsigned controlId;
  char deviceName[kMixerTextSize];  // the bound (or kept) device's product name
  bool muteFound;                   // the control's line has a mute control...
  unsigned muteControlId;           // ...with this identifier
  // What users know the control by: its line's name ("Master Volume", "Wave").
  char lineName[MIXER_LONG_NAME_CHARS + 1];
};

enum class WinmmBind { Bound, CannotOpen, CannotRead };

// Releases what was bound, then opens device with notify as the window for its
// change notifications (none when null) and reads the control into level.
WinmmBind bindWinmmControl(WinmmControl& c, HWND notify, unsigned device, unsigned line,
                           unsigned control, double& level);
void releaseWinmmControl(WinmmControl& c);
// A binding opened before its window existed is opened again for the window;
// if that fails the old handle still reads and writes, only without notifications.
void notifyWinmmWindow(WinmmControl& c, HWND window);

// The control's value as raw / 65535; false when unbound or it cannot be read.
bool readWinmmLevel(const WinmmControl& c, double& level);
// Fetches, then sets truncated(level x 65535); false when either call failed.
bool writeWinmmLevel(const WinmmControl& c, double level);
// Whether a level read back is the one written: the same raw value, give or
// take the one unit a driver may round by.
bool sameWinmmLevel(double a, double b);
// The line's mute; false when unbound, the line has none or the call failed.
bool readWinmmMute(const WinmmControl& c, bool& muted);
bool writeWinmmMute(const WinmmControl& c, bool muted);
