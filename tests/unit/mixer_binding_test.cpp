// Binding the slider to a mixer control: reading, writing, notifications and
// the life of the bound device, against the mixer double and a real window.
#include <algorithm>

#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kMasterLine = 0xFFFF0000;
constexpr DWORD kVolume = 0;
constexpr DWORD kMute = 1;
constexpr DWORD kSourceVolume = 2;  // reports success on reads without writing the value

mixerdouble::Device makeDevice(DWORD volumeRaw) {
  mixerdouble::Line master;
  master.id = kMasterLine;
  master.name = "Master Volume";
  master.controls = {{kVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", volumeRaw, false},
                     {kMute, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0, false}};
  mixerdouble::Line source;
  source.id = 1;
  source.controls = {{kSourceVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 40000, true}};
  master.sources = {source};
  mixerdouble::Device device;
  device.destinations = {master};
  return device;
}

class MixerBinding : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184
    mixerdouble::addDevice(makeDevice(32768));
    mixerdouble::addDevice(makeDevice(1000));
  }

  // Starts the plug-in and forgets whatever the start-up itself asked to repaint.
  void startClean() {
    ASSERT_EQ(start(), 0);
    pumpMessages();
    forgetRepaints();
  }
  void forgetRepaints() { ValidateRect(slider.window, nullptr); }
  bool repaintRequested() { return GetUpdateRect(slider.window, nullptr, FALSE) != FALSE; }

  // Delivers the change notifications queued for the window, and nothing else:
  // pumping WM_PAINT as well would hide whether a repaint was requested.
  int deliverNotifications() {
    int delivered = 0;
    MSG msg;
    while (PeekMessageA(&msg, slider.window, MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE,
                        PM_REMOVE)) {
      DispatchMessageA(&msg);
      ++delivered;
    }
    return delivered;
  }

  static std::vector<std::string> logSince(size_t first) {
    const auto& log = mixerdouble::log();
    return std::vector<std::string>(log.begin() + static_cast<long>(first), log.end());
  }
  static std::vector<std::string> statusTexts() {
    return hostdouble::callsNamed("HostMsgStatusText");
  }
};

// Fills the stack below the caller with a pattern, so that a read into an
// uninitialised value would pick it up rather than a lucky zero.
__attribute__((noinline)) void dirtyStack() {
  volatile unsigned char junk[16384];
  for (auto& b : junk) b = 0xA5;
}

TEST_F(MixerBinding, BindShowsTheRawValueOnTheFixedScale) {
  startClean();
  struct Case {
    DWORD raw;
    double value;
    int knob;
  } cases[] = {{32768, 32768 / 65535.0, 92}, {0, 0.0, 0}, {65535, 1.0, 184}, {70000, 1.0, 184}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    mixerdouble::device(0).destinations[0].controls[0].raw = c.raw;
    forgetRepaints();
    slider.bindControl(0, kMasterLine, kVolume);
    EXPECT_TRUE(slider.mixerBound);
    EXPECT_DOUBLE_EQ(slider.value, c.value);
    EXPECT_EQ(slider.knobPos, c.knob);
    EXPECT_TRUE(repaintRequested());
    EXPECT_EQ(mixerdouble::openHandles(), 1);
  }
  EXPECT_EQ(mixerdouble::log().front(), "mixerOpen(0, window, CALLBACK_WINDOW)");
  EXPECT_TRUE(statusTexts().empty());
}

TEST_F(MixerBinding, ReadThatWritesNothingGivesZeroNotLeftovers) {
  startClean();
  slider.value = 0.5;
  dirtyStack();
  slider.bindControl(0, 1, kSourceVolume);
  ASSERT_TRUE(slider.mixerBound);
  EXPECT_EQ(slider.value, 0.0);
  EXPECT_EQ(slider.knobPos, 0);

  // The same on a notification for that control.
  slider.value = 0.75;
  slider.updateKnobFromValue();
  dirtyStack();
  slider.handleControlChange(kSourceVolume);
  EXPECT_EQ(slider.value, 0.0);
  EXPECT_EQ(slider.knobPos, 0);
}

TEST_F(MixerBinding, RebindingClosesTheOldDeviceFirst) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  const size_t mark = mixerdouble::log().size();
  slider.bindControl(0, kMasterLine, kVolume);
  const auto again = logSince(mark);
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[0], "mixerClose(0)");
  EXPECT_EQ(again[1], "mixerOpen(0, window, CALLBACK_WINDOW)");
  EXPECT_TRUE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 1);

  slider.bindControl(1, kMasterLine, kVolume);
  EXPECT_TRUE(slider.mixerBound);
  EXPECT_EQ(slider.knobPos, 3);  // 1000 / 65535 x 184 = 2.8
  EXPECT_EQ(mixerdouble::openHandles(), 1);
  EXPECT_EQ(mixerdouble::opens(), 3);
}

TEST_F(MixerBinding, FailedBindsLeaveTheSliderUnboundAndRepaint) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  ASSERT_TRUE(slider.mixerBound);

  // The device cannot be opened: the old one is closed all the same and the host told.
  mixerdouble::fail(mixerdouble::Op::Open, 1);
  forgetRepaints();
  slider.bindControl(1, 77, 88);
  EXPECT_FALSE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(statusTexts(),
            std::vector<std::string>{"HostMsgStatusText(Unable to open mixer device.)"});
  EXPECT_EQ(slider.deviceId, 1u);
  EXPECT_EQ(slider.lineId, 77u);
  EXPECT_EQ(slider.controlId, 88u);
  EXPECT_TRUE(repaintRequested());

  // A device index that does not exist at all.
  slider.bindControl(9, 1, 2);
  EXPECT_FALSE(slider.mixerBound);
  EXPECT_EQ(statusTexts().size(), 2u);

  // The device opens but the control cannot be read: closed again, nothing reported.
  slider.bindControl(0, kMasterLine, kVolume);
  ASSERT_TRUE(slider.mixerBound);
  const double before = slider.value;
  forgetRepaints();
  slider.bindControl(0, kMasterLine, 12345);
  EXPECT_FALSE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(statusTexts().size(), 2u);
  EXPECT_EQ(slider.controlId, 12345u);
  EXPECT_EQ(slider.value, before);
  EXPECT_TRUE(repaintRequested());

  // Unbound, nothing is read or written any more.
  const size_t mark = mixerdouble::log().size();
  slider.writeControlValue();
  EXPECT_EQ(slider.readControlValue(), -1.0);
  EXPECT_EQ(mixerdouble::log().size(), mark);
}

TEST_F(MixerBinding, UnbindClosesKeepsTheIdentifiersAndRepaints) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  forgetRepaints();
  slider.unbindControl();
  EXPECT_FALSE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(slider.lineId, kMasterLine);
  EXPECT_TRUE(repaintRequested());

  const size_t mark = mixerdouble::log().size();
  forgetRepaints();
  slider.unbindControl();
  EXPECT_EQ(mixerdouble::log().size(), mark);
  EXPECT_TRUE(repaintRequested());
}

TEST_F(MixerBinding, WritesFetchFirstThenSetTheTruncatedValue) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  const struct {
    double value;
    DWORD raw;
  } cases[] = {{0.5, 32767}, {1.0, 65535}, {0.0, 0}, {1.0 / 3.0, 21845}};
  for (const auto& c : cases) {
    slider.value = c.value;
    const size_t mark = mixerdouble::log().size();
    slider.writeControlValue();
    EXPECT_EQ(logSince(mark), (std::vector<std::string>{"mixerGetControlDetailsA(0, control 0)",
                                                        "mixerSetControlDetails(0, control 0)"}));
    ASSERT_FALSE(mixerdouble::sets().empty());
    EXPECT_EQ(mixerdouble::sets().back().raw, c.raw) << c.value;
    EXPECT_EQ(mixerdouble::sets().back().control, kVolume);
  }

  // A fetch that fails sets nothing and keeps the value from the mouse.
  mixerdouble::fail(mixerdouble::Op::GetDetails);
  const size_t sets = mixerdouble::sets().size();
  slider.value = 0.25;
  slider.writeControlValue();
  EXPECT_EQ(mixerdouble::sets().size(), sets);
  EXPECT_EQ(slider.value, 0.25);
  EXPECT_TRUE(slider.mixerBound);
}

TEST_F(MixerBinding, NotificationsMoveTheKnobOnlyForTheBoundControlOutsideADrag) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  deliverNotifications();
  forgetRepaints();

  // Another control of the same device.
  mixerdouble::changeControl(0, kMute, 1);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_EQ(slider.knobPos, 92);
  EXPECT_FALSE(repaintRequested());

  // During a drag the knob follows the mouse alone.
  slider.dragging = true;
  mixerdouble::changeControl(0, kVolume, 65535);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_EQ(slider.knobPos, 92);
  slider.dragging = false;

  // A new value that lands on the same pixel is taken without a repaint.
  mixerdouble::changeControl(0, kVolume, 32800);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_DOUBLE_EQ(slider.value, 32800 / 65535.0);
  EXPECT_EQ(slider.knobPos, 92);
  EXPECT_FALSE(repaintRequested());

  // One that moves the knob asks for a repaint.
  mixerdouble::changeControl(0, kVolume, 65535);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_EQ(slider.knobPos, 184);
  EXPECT_TRUE(repaintRequested());

  // A read that fails leaves the slider bound where it was.
  forgetRepaints();
  mixerdouble::fail(mixerdouble::Op::GetDetails);
  mixerdouble::changeControl(0, kVolume, 0);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_TRUE(slider.mixerBound);
  EXPECT_EQ(slider.value, 1.0);
  EXPECT_FALSE(repaintRequested());
  mixerdouble::clearFailures();

  // Unbound, even the bound control's own notification changes nothing.
  slider.unbindControl();
  forgetRepaints();
  slider.handleControlChange(kVolume);
  EXPECT_EQ(slider.value, 1.0);
  EXPECT_FALSE(repaintRequested());
}

TEST_F(MixerBinding, StartUpBindingIsNotifiedOnceTheWindowExists) {
  // As the settings reader does: bind while the window does not exist yet.
  slider.bindControl(0, kMasterLine, kVolume);
  ASSERT_TRUE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::log().front(), "mixerOpen(0, none, CALLBACK_WINDOW)");

  startClean();
  ASSERT_TRUE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 1);
  EXPECT_EQ(mixerdouble::log().back(), "mixerClose(0)");

  mixerdouble::changeControl(0, kVolume, 0);
  EXPECT_EQ(deliverNotifications(), 1);
  EXPECT_EQ(slider.knobPos, 0);
  EXPECT_TRUE(repaintRequested());

  // Writes still reach the device through the handle opened for the window.
  slider.value = 1.0;
  slider.writeControlValue();
  EXPECT_EQ(mixerdouble::raw(0, kVolume), 65535u);
}

TEST_F(MixerBinding, StartUpBindingKeepsWorkingWhenTheDeviceCannotBeOpenedAgain) {
  slider.bindControl(0, kMasterLine, kVolume);
  mixerdouble::fail(mixerdouble::Op::Open);
  startClean();
  EXPECT_TRUE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 1);
  slider.value = 0.0;
  slider.writeControlValue();
  EXPECT_EQ(mixerdouble::raw(0, kVolume), 0u);
}

TEST_F(MixerBinding, UnloadClosesTheDeviceUnlessTheProcessIsExiting) {
  startClean();
  slider.bindControl(0, kMasterLine, kVolume);
  stop();
  EXPECT_EQ(mixerdouble::openHandles(), 1);  // the binding outlives the stop

  processExiting = true;
  slider.releaseAtUnload();
  EXPECT_EQ(mixerdouble::openHandles(), 1);

  processExiting = false;
  slider.releaseAtUnload();
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_FALSE(slider.mixerBound);
}

}  // namespace
