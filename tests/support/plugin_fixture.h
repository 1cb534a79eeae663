#pragma once
// Common ground for plug-in unit tests: a fresh slider and module state, the host
// and mixer doubles reset, a host window for GetKvWnd, and helpers to pump messages.
// Like a host, the test thread is in a COM apartment, where a fake device
// enumerator answers for Core Audio (absent until a test says otherwise).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/commands.h"
#include "commands/config_menu.h"
#include "host/module_values.h"
#include "plugin/entry_points.h"
#include "plugin/sliders.h"
#include "tests/doubles/endpoint_double.h"
#include "tests/doubles/host_double.h"
#include "tests/doubles/mixer_double.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // beginPlugin with this test executable as the module; stopped again in TearDown.
  int start();
  void stop();

  // Slider with the default settings geometry (200x24, margin 4, knob 8x16, track 8).
  static void useDefaultGeometry();

  static HINSTANCE instance() { return GetModuleHandleA(nullptr); }

  // Leaves the test's own apartment, for tests that set COM up another way.
  void leaveTestApartment();

  bool inApartment_ = false;

  bool started_ = false;
};

// The first slider, "slider1" as a module load would make it when there is
// none yet (a test may read settings into it before any start).
Slider& slider();

// As the settings file is read at start and written at stop, for one slider.
void readSettings(Slider& s, const char* path);
void writeSettings(const Slider& s, const char* path);

// A command as the host delivers it: to the slider's window, which decides
// whether it is for this slider and what it does to the list of sliders.
void sendCommand(const Slider& s, const char* text);

// One mixer device whose destination "Master Volume" (0xFFFF0000) has a
// volume (control 0, at raw) and a mute (control 1).
void addMasterVolumeDevice(DWORD raw = 32768);

// Binds a winmm mixer control as the "mixer" command does; whether one is bound.
void bindControl(Slider& s, unsigned device, unsigned line, unsigned control);
bool mixerBound(const Slider& s);

// Dispatches every queued message of this thread.
void pumpMessages();

// Dispatches only the mixer change notifications (or the given message) queued
// for the window, so that a repaint request stays visible to repaintPending;
// returns how many there were.
int deliverMixerNotifications(HWND window, UINT message = MM_MIXM_CONTROL_CHANGE);
bool repaintPending(HWND window);

// The text the slider's tooltip holds now ("" before it was first shown).
std::string tooltipText(const Slider& s);

// Repaints the whole window now: what it asked the host to draw, in order.
std::vector<std::string> gradientsOfARepaint(HWND window);
