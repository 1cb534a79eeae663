// Long runs in one process: many starts and stops, many drag steps. Nothing the
// plug-in acquires may pile up: windows, GDI objects, kernel handles, mixer
// handles, audio endpoint callbacks and references. The counts are what it
// takes for one object left behind per round to stand out well above the
// tolerances below, and no more: time spent without checking catches nothing.
#include "mixer/binding.h"
#include "plugin/sliders.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000u;
constexpr DWORD kControl = 7;

// Wine reports no GDI or USER counts through GetGuiResources, so the GDI table
// is also probed: the highest slot a batch of fresh objects lands in grows with
// every object left behind.
struct Resources {
  DWORD gdiCount;
  DWORD userCount;
  unsigned gdiHighSlot;
  DWORD kernelHandles;
  uintptr_t kernelHighHandle;
  int threadWindows;
  int mixerHandles;
};

unsigned highestFreshGdiSlot() {
  HBRUSH brushes[64];
  unsigned high = 0;
  for (HBRUSH& b : brushes) {
    b = CreateSolidBrush(RGB(1, 2, 3));
    const unsigned slot = static_cast<unsigned>(reinterpret_cast<uintptr_t>(b) & 0xFFFF);
    if (slot > high) high = slot;
  }
  for (HBRUSH b : brushes) DeleteObject(b);
  return high;
}

// Kernel handles are probed the same way where the count is not reported.
uintptr_t highestFreshKernelHandle() {
  HANDLE events[16];
  uintptr_t high = 0;
  for (HANDLE& e : events) {
    e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (reinterpret_cast<uintptr_t>(e) > high) high = reinterpret_cast<uintptr_t>(e);
  }
  for (HANDLE e : events) CloseHandle(e);
  return high;
}

int countThreadWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND, LPARAM p) CALLBACK -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

Resources measure() {
  pumpMessages();
  Resources r;
  r.gdiCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  r.userCount = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  r.gdiHighSlot = highestFreshGdiSlot();
  r.kernelHandles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &r.kernelHandles);
  r.kernelHighHandle = highestFreshKernelHandle();
  r.threadWindows = countThreadWindows();
  r.mixerHandles = mixerdouble::openHandles();
  return r;
}

void expectNoGrowth(const Resources& before, const Resources& after) {
  EXPECT_LE(after.gdiCount, before.gdiCount + 2);
  EXPECT_LE(after.userCount, before.userCount + 2);
  EXPECT_LE(after.gdiHighSlot, before.gdiHighSlot + 16);
  EXPECT_LE(after.kernelHandles, before.kernelHandles + 4);
  EXPECT_LE(after.kernelHighHandle, before.kernelHighHandle + 4 * 4);  // handles step by 4
  EXPECT_EQ(after.threadWindows, before.threadWindows);
  EXPECT_EQ(after.mixerHandles, before.mixerHandles);
  std::printf(
      "gdi %lu->%lu, user %lu->%lu, gdi slot %u->%u, handles %lu->%lu, handle probe "
      "%#llx->%#llx, windows %d->%d, mixer %d->%d\n",
      before.gdiCount, after.gdiCount, before.userCount, after.userCount, before.gdiHighSlot,
      after.gdiHighSlot, before.kernelHandles, after.kernelHandles,
      static_cast<unsigned long long>(before.kernelHighHandle),
      static_cast<unsigned long long>(after.kernelHighHandle), before.threadWindows,
      after.threadWindows, before.mixerHandles, after.mixerHandles);
}

// The system calling from its own threads for as long as it lives.
struct CallbackStorm {
  CallbackStorm() { endpointdouble::startCallbackStorm(); }
  ~CallbackStorm() { endpointdouble::stopCallbackStorm(); }
  CallbackStorm(const CallbackStorm&) = delete;
  CallbackStorm& operator=(const CallbackStorm&) = delete;
};

class Endurance : public PluginTest {
 protected:
  static void oneSpeaker() {
    endpointdouble::reset(true);
    endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.5f});
    endpointdouble::switchDefault(0);
  }

  // Starts, runs and stops the plug-in cycles times; nothing may pile up.
  template <typename Run>
  void cycle(int cycles, Run run) {
    const Resources before = measure();
    for (int i = 0; i < cycles; ++i) {
      ASSERT_EQ(start(), 0) << "cycle " << i;
      run(i);
      if (HasFatalFailure()) return;
      pumpMessages();
      stop();
      if (i % 50 == 0) hostdouble::clearCalls();
    }
    expectNoGrowth(before, measure());
  }

  void SetUp() override {
    PluginTest::SetUp();
    mixerdouble::Device device;
    mixerdouble::Line line;
    line.id = kLine;
    line.name = "Master Volume";
    line.controls.push_back({kControl, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 40000, false});
    device.destinations.push_back(line);
    mixerdouble::addDevice(device);
    // The pointer left resting where a slider comes to lie (by a test before)
    // would bring its tooltip, a window that is no leak.
    SetCursorPos(1000, 740);
  }
};

TEST_F(Endurance, ManyStartsAndStopsLeaveNothingBehind) {
  // The first run binds by command and stores the binding; every later start
  // restores it, closing the device of the run before.
  ASSERT_EQ(start(), 0);
  bindControl(slider(), 0, kLine, kControl);
  ASSERT_TRUE(mixerBound(slider()));
  stop();
  ASSERT_EQ(start(), 0);
  stop();
  cycle(300, [](int i) {
    ASSERT_TRUE(mixerBound(slider())) << "cycle " << i;
    UpdateWindow(slider().window);  // every run paints, making its off-screen buffer
  });
  EXPECT_EQ(mixerdouble::openHandles(), 0);  // every binding goes at stop
}

// The system keeps calling from its own threads while the plug-in starts and
// stops: every callback must be unregistered before its window goes.
TEST_F(Endurance, EndpointStartsAndStopsUnderFiringCallbacksLeaveNothingRegistered) {
  oneSpeaker();
  ASSERT_EQ(start(), 0);
  handleCommand(slider(), "@KvSliderConfigure-endpoint-slider1-0");
  stop();
  ASSERT_EQ(start(), 0);
  stop();
  const CallbackStorm storm;
  cycle(300, [](int i) { ASSERT_TRUE(volumeBound(slider().binding)) << "cycle " << i; });
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

// Sixteen sliders, every other one on the endpoint and the rest on one mixer
// control, started, painted and stopped again and again under firing callbacks.
TEST_F(Endurance, StartsOfSixteenSlidersLeaveNothingBehind) {
  oneSpeaker();
  ASSERT_EQ(start(), 0);
  const std::string file = settingsPath;
  stop();
  std::string names;
  for (int n = 1; n <= 16; ++n) {
    const std::string key = "kvslider.slider" + std::to_string(n) + ".";
    names += (n > 1 ? " slider" : "slider") + std::to_string(n);
    hostdouble::setValue(file, key + "endpoint:", n % 2 == 0 ? "default" : "");
    hostdouble::setValue(file, key + "mixer.set:", "true");
    hostdouble::setValue(file, key + "mixer.line", std::to_string(kLine));
    hostdouble::setValue(file, key + "mixer.control", std::to_string(kControl));
  }
  hostdouble::setValue(file, "kvslider.sliders:", names);
  ASSERT_EQ(start(), 0);
  stop();
  const CallbackStorm storm;
  cycle(30, [](int i) {
    ASSERT_EQ(sliderCount(), 16);
    for (int k = 0; k < 16; ++k) {
      ASSERT_TRUE(volumeBound(sliderAt(k)->binding)) << "cycle " << i << ", slider " << k;
      UpdateWindow(sliderAt(k)->window);
    }
    EXPECT_EQ(mixerdouble::openHandles(), 8);
  });
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

// A program's sessions appear and expire from the system's threads while the
// plug-in starts bound to it and stops.
TEST_F(Endurance, ApplicationStartsWhileSessionsChurnLeaveNothingRegistered) {
  oneSpeaker();
  endpointdouble::Session player;
  player.processId = 0x7FFF0101;
  player.identifier = L"{e}|\\Device\\HarddiskVolume3\\player.exe%b{0}";
  endpointdouble::addSession(0, player);
  ASSERT_EQ(start(), 0);
  handleCommand(slider(), "@KvSliderConfigure-app-slider1-2147418369");  // 0x7FFF0101
  ASSERT_TRUE(volumeBound(slider().binding));
  stop();
  ASSERT_EQ(start(), 0);
  stop();
  struct Churn {
    explicit Churn(const endpointdouble::Session& like) {
      endpointdouble::startSessionChurn(0, like);
    }
    ~Churn() { endpointdouble::stopSessionChurn(); }
  } churn(player);
  cycle(200, [](int i) { ASSERT_TRUE(volumeBound(slider().binding)) << "cycle " << i; });
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

// The shell delivers a menu's command before ShowMenu returns: a slider
// removed from its own menu is gone by the time the menu closes.
TEST_F(Endurance, SlidersMadeAndRemovedFromTheirOwnMenusLeaveNothingBehind) {
  ASSERT_EQ(start(), 0);
  HWND first = slider().window;
  auto choose = [](HWND w, const char* label) {
    hostdouble::chooseWhenShown(label);
    SendMessageA(w, WM_NCRBUTTONUP, HTCAPTION, 0);
  };
  auto makeAndRemove = [&] {
    choose(first, "New slider");
    ASSERT_EQ(sliderCount(), 2);
    HWND made = sliderAt(1)->window;
    UpdateWindow(made);  // it paints, making its off-screen buffer
    choose(made, "Remove this slider");
    ASSERT_EQ(sliderCount(), 1);
    EXPECT_FALSE(IsWindow(made));
    hostdouble::clearCalls();
  };
  makeAndRemove();
  const Resources before = measure();
  for (int i = 0; i < 200 && !HasFatalFailure(); ++i) makeAndRemove();
  expectNoGrowth(before, measure());
}

TEST_F(Endurance, ManyDragStepsLeaveNothingBehind) {
  ASSERT_EQ(start(), 0);
  slider().draggable = false;
  bindControl(slider(), 0, kLine, kControl);
  ASSERT_TRUE(mixerBound(slider()));
  HWND w = slider().window;
  UpdateWindow(w);
  // A first drag makes the tooltip, which then lives as long as the slider().
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(slider().x + 100, slider().y + 12));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 12));
  UpdateWindow(w);
  pumpMessages();
  const Resources before = measure();
  const size_t setsBefore = mixerdouble::sets().size();

  // A press on the track takes the capture; the moves then arrive as client messages.
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(slider().x + 100, slider().y + 12));
  ASSERT_TRUE(slider().dragging);
  for (int i = 0; i < 20000; ++i) {
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((i * 13) % 260 - 30, 12));
    if (i % 100 == 99) UpdateWindow(w);  // paint as the user would see it, now and then
    if (i % 1000 == 999) mixerdouble::clearLog();
  }
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 12));
  EXPECT_FALSE(slider().dragging);
  EXPECT_EQ(mixerdouble::sets().size() - setsBefore, 20001u);
  expectNoGrowth(before, measure());
}

TEST_F(Endurance, SizeChangesWhileRunningLeaveNothingBehind) {
  ASSERT_EQ(start(), 0);
  bindControl(slider(), 0, kLine, kControl);
  HWND w = slider().window;
  UpdateWindow(w);
  const Resources before = measure();
  for (int i = 0; i < 1000; ++i) {
    SetWindowPos(w, nullptr, 0, 0, 100 + i % 300, 10 + i % 50,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(w);
    if (i % 100 == 0) hostdouble::clearCalls();
  }
  expectNoGrowth(before, measure());
}

}  // namespace
