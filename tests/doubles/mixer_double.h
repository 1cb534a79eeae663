#pragma once
// Stand-in for winmm's mixer functions in plug-in unit tests: devices, lines and
// controls set up by the test, failures injected per call, every set recorded,
// and MM_MIXM_CONTROL_CHANGE posted to callback windows as a driver would.
#include <windows.h>

#include <mmsystem.h>

#include <string>
#include <vector>

namespace mixerdouble {

struct Control {
  DWORD id = 0;
  DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME;
  std::string name = "Volume";
  DWORD raw = 0;
  bool readWritesNothing = false;  // reports success but leaves the value untouched
  DWORD minimum = 0;               // Bounds.dwMinimum, the field right after the name
};

struct Line {
  DWORD id = 0;
  std::string name = "Line";
  std::vector<Control> controls;
  int reportedControls = -1;  // cControls as reported; -1 = controls.size()
  std::vector<Line> sources;  // only for destinations
  DWORD targetType = 0;       // Target.dwType, the field right after the name
};

struct Device {
  std::string name = "Device";
  std::vector<Line> destinations;
  DWORD support = 0;  // fdwSupport, the field right after the name
};

enum class Op {
  GetNumDevs,
  Open,
  Close,
  GetDevCaps,
  GetDestination,  // mixerGetLineInfoA with MIXER_GETLINEINFOF_DESTINATION
  GetSource,       // mixerGetLineInfoA with MIXER_GETLINEINFOF_SOURCE
  GetControls,
  GetDetails,
  SetDetails,
};

struct SetRecord {
  UINT device;
  DWORD control;
  DWORD raw;
};

void reset();
void addDevice(const Device& device);
Device& device(UINT index);

// Makes every matching call fail (MMSYSERR_ERROR). device -1 matches any device;
// index (destination or source index, control id; for Open 1 with a
// notification window, 0 without) ~0u matches any.
void fail(Op op, int device = -1, unsigned index = ~0u);
void clearFailures();

// Changes a control's raw value from outside and notifies every window that
// opened the device with CALLBACK_WINDOW, as a driver would.
void changeControl(UINT device, DWORD control, DWORD raw);
DWORD raw(UINT device, DWORD control);

const std::vector<SetRecord>& sets();
const std::vector<std::string>& log();  // every call, e.g. "mixerOpen(1, window, 0x10000)"
int openHandles();
void clearLog();
// Off: a set changes the value without notifying, like wine's driver.
void setNotifications(bool on);  // long runs: forget the calls so far (sets are kept)
int opens();

}  // namespace mixerdouble
