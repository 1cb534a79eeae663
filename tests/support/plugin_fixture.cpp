#include "tests/support/plugin_fixture.h"

#include <commctrl.h>

#include "host/host_messages.h"
#include "mixer/binding.h"
#include "mixer/endpoint_apartment.h"
#include "mixer/winmm_kind.h"
#include "plugin/sliders.h"
#include "settings/settings_file.h"
#include "slider/tooltip.h"
#include "tests/support/window_pixels.h"

Slider& slider() {
  if (sliderCount() == 0) addSlider(1);
  return *sliderAt(0);
}

void readSettings(Slider& s, const char* path) { readSliderSettings(s, storedBindingOf(s), path); }

void writeSettings(const Slider& s, const char* path) {
  writeSliderSettings(s, storedBindingOf(s), path);
}

void sendCommand(const Slider& s, const char* text) {
  SendMessageA(s.window, HostMsgCommand, 0, reinterpret_cast<LPARAM>(text));
}

void addMasterVolumeDevice(DWORD raw) {
  mixerdouble::Line line;
  line.id = 0xFFFF0000;
  line.name = "Master Volume";
  line.controls = {{0, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", raw, false},
                   {1, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0, false}};
  mixerdouble::Device device;
  device.destinations = {line};
  mixerdouble::addDevice(device);
}

void bindControl(Slider& s, unsigned device, unsigned line, unsigned control) {
  s.take(bindMixerControl(s.binding, device, line, control));
}

bool mixerBound(const Slider& s) { return s.binding.kind == BindingKind::Winmm; }

std::string tooltipText(const Slider& s) {
  char text[256] = "";
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.hwnd = s.window;
  ti.uId = 1;
  ti.lpszText = text;
  SendMessageA(tooltipWindow(s), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
  return text;
}

// What is queued when it starts, and what that brings about (a repaint, a
// timer, one slider following another), but not without end: a thread that
// posts faster than this one reads (a callback storm on a busy machine)
// would otherwise keep a test here until its time runs out.
void pumpMessages() {
  static const UINT mark = RegisterWindowMessageA("kv_unit_tests: all queued so far");
  PostThreadMessageA(GetCurrentThreadId(), mark, 0, 0);
  constexpr int kMostAfterMark = 1000;
  bool marked = false;
  MSG msg;
  for (int after = 0; after < kMostAfterMark && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
    if (msg.hwnd == nullptr && msg.message == mark) {
      marked = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (marked) ++after;
  }
}

int deliverMixerNotifications(HWND window, UINT message) {
  int delivered = 0;
  MSG msg;
  while (PeekMessageA(&msg, window, message, message, PM_REMOVE)) {
    DispatchMessageA(&msg);
    ++delivered;
  }
  return delivered;
}

bool repaintPending(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

std::vector<std::string> gradientsOfARepaint(HWND window) {
  hostdouble::clearCalls();
  repaintNow(window);
  return hostdouble::callsNamed("MakeGradient");
}

void PluginTest::SetUp() {
  hostdouble::reset();
  mixerdouble::reset();
  clearSliders();
  moduleInstance = nullptr;
  hostWindow = nullptr;
  layeredWindowsAvailable = false;
  settingsPath[0] = '\0';
  configMenu = nullptr;
  hostdouble::createHostWindow();
  inApartment_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  endpointdouble::install();
  endpointdouble::reset(false);
}

void PluginTest::leaveTestApartment() {
  endpointdouble::uninstall();
  if (inApartment_) CoUninitialize();
  inApartment_ = false;
}

void PluginTest::TearDown() {
  if (started_) stop();
  pumpMessages();
  // Let go of what the test left open: the sliders must not outlive the
  // doubles' state, nor the test's COM apartment.
  clearSliders();
  leaveComApartment();
  leaveTestApartment();
}

int PluginTest::start() {
  const int result = beginPlugin(instance());
  started_ = result == 0;
  return result;
}

void PluginTest::stop() {
  endPlugin(instance());
  started_ = false;
}

void PluginTest::useDefaultGeometry() {
  slider().width = 200;
  slider().height = 24;
  slider().margin = 4;
  slider().knobWidth = 8;
  slider().knobHeight = 16;
  slider().trackHeight = 8;
}
