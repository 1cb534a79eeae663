// Binding the slider to a mixer control: reads, writes, notifications and the
// life of the bound device, against the mixer double and a real window.
#include <algorithm>

#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000;
constexpr DWORD kVolume = 0, kMute = 1;
constexpr DWORD kMuteless = 2;  // reports success on reads without writing the value
constexpr DWORD kSource = 5, kSourceVolume = 6;

class MixerBinding : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184
    mixerdouble::Line line;
    line.id = kLine;
    line.controls = {{kVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 32768, false},
                     {kMute, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0, false},
                     {kMuteless, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 40000, true}};
    mixerdouble::Line source;  // its volume has no mute beside it
    source.id = kSource;
    source.controls = {{kSourceVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 0, false}};
    line.sources = {source};
    mixerdouble::Device device;
    device.destinations = {line};
    mixerdouble::addDevice(device);
    mixerdouble::addDevice(device);
  }
  void startClean() {
    ASSERT_EQ(start(), 0);
    pumpMessages();
    forgetRepaints();
  }
  static void forgetRepaints() { ValidateRect(slider().window, nullptr); }
  static bool repainted() { return repaintPending(slider().window); }
  static int deliver() { return deliverMixerNotifications(slider().window); }
  static std::vector<std::string> logFrom(size_t first) {
    const auto& log = mixerdouble::log();
    return {log.begin() + static_cast<long>(first), log.end()};
  }
};

// Fills the stack below the caller with a pattern, so that a read into an
// uninitialised value picks it up rather than a lucky zero.
__attribute__((noinline)) void dirtyStack() {
  volatile unsigned char junk[16384];
  for (auto& b : junk) b = 0xA5;
}

TEST_F(MixerBinding, BindShowsTheRawValueOnTheFixedScale) {
  startClean();
  const struct {
    DWORD raw;
    double value;
    int knob;
  } cases[] = {{32768, 32768 / 65535.0, 92}, {0, 0.0, 0}, {65535, 1.0, 184}, {70000, 1.0, 184}};
  for (const auto& c : cases) {
    mixerdouble::device(0).destinations[0].controls[0].raw = c.raw;
    forgetRepaints();
    bindControl(slider(), 0, kLine, kVolume);
    EXPECT_TRUE(mixerBound(slider()));
    EXPECT_DOUBLE_EQ(slider().value, c.value) << c.raw;
    EXPECT_EQ(slider().knobPos, c.knob) << c.raw;
    EXPECT_TRUE(repainted());
  }
  EXPECT_EQ(mixerdouble::log().front(), "mixerOpen(0, window, CALLBACK_WINDOW)");
  EXPECT_EQ(mixerdouble::openHandles(), 1);
}

TEST_F(MixerBinding, ReadThatWritesNothingGivesZeroNotLeftovers) {
  startClean();
  dirtyStack();
  bindControl(slider(), 0, kLine, kMuteless);
  ASSERT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().value, 0.0);

  slider().value = 0.75;
  dirtyStack();
  slider().followNotice(MM_MIXM_CONTROL_CHANGE, kMuteless);
  EXPECT_EQ(slider().value, 0.0);
}

TEST_F(MixerBinding, RebindingClosesTheOldDeviceFirst) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);
  const size_t mark = mixerdouble::log().size();
  bindControl(slider(), 0, kLine, kVolume);
  const auto again = logFrom(mark);
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[0], "mixerClose(0)");
  EXPECT_EQ(again[1], "mixerOpen(0, window, CALLBACK_WINDOW)");
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::openHandles(), 1);
}

TEST_F(MixerBinding, FailedBindsAndUnbindLeaveNoDeviceOpenAndRepaint) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);

  // The device cannot be opened: the old one is closed all the same and the host told.
  mixerdouble::fail(mixerdouble::Op::Open, 1);
  forgetRepaints();
  bindControl(slider(), 1, 77, 88);
  EXPECT_FALSE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(hostdouble::callsNamed("HostMsgStatusText"),
            std::vector<std::string>{"HostMsgStatusText(Unable to open mixer device.)"});
  EXPECT_EQ(slider().binding.winmm.deviceId, 1u);
  EXPECT_EQ(slider().binding.winmm.lineId, 77u);
  EXPECT_EQ(slider().binding.winmm.controlId, 88u);
  EXPECT_TRUE(repainted());

  // The device opens but the control cannot be read: closed again, nothing reported.
  bindControl(slider(), 0, kLine, kVolume);
  forgetRepaints();
  bindControl(slider(), 0, kLine, 12345);
  EXPECT_FALSE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(hostdouble::callsNamed("HostMsgStatusText").size(), 1u);
  EXPECT_TRUE(repainted());

  // Unbound: nothing is written; unbinding closes nothing, keeps the numbers, repaints.
  const size_t mark = mixerdouble::log().size();
  slider().writeLevel();
  forgetRepaints();
  slider().unbindControl();
  EXPECT_EQ(mixerdouble::log().size(), mark);
  EXPECT_EQ(slider().binding.winmm.controlId, 12345u);
  EXPECT_TRUE(repainted());
}

TEST_F(MixerBinding, WritesFetchFirstThenSetTheTruncatedValue) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);
  const struct {
    double value;
    DWORD raw;
  } cases[] = {{0.5, 32767}, {1.0, 65535}, {0.0, 0}};
  for (const auto& c : cases) {
    slider().value = c.value;
    const size_t mark = mixerdouble::log().size();
    slider().writeLevel();
    EXPECT_EQ(logFrom(mark), (std::vector<std::string>{"mixerGetControlDetailsA(0, control 0)",
                                                       "mixerSetControlDetails(0, control 0)"}));
    EXPECT_EQ(mixerdouble::raw(0, kVolume), c.raw) << c.value;
  }
  // Every level read back is written back as the same raw value, on both builds
  // (the x87 of the i686 build once took a unit off most of them).
  int changed = 0;
  for (DWORD raw = 0; raw <= 65535; ++raw) {
    mixerdouble::device(0).destinations[0].controls[0].raw = raw;
    slider().followNotice(MM_MIXM_CONTROL_CHANGE, kVolume);
    slider().writeLevel();
    if (mixerdouble::raw(0, kVolume) != raw) ++changed;
    if (raw % 4096 == 0) mixerdouble::clearLog();
  }
  EXPECT_EQ(changed, 0);
  mixerdouble::fail(mixerdouble::Op::GetDetails);
  const size_t sets = mixerdouble::sets().size();
  slider().value = 0.25;
  slider().writeLevel();
  EXPECT_EQ(mixerdouble::sets().size(), sets);
}

TEST_F(MixerBinding, NotificationsMoveTheKnobOnlyForTheBoundControlOutsideADrag) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);
  forgetRepaints();

  mixerdouble::changeControl(0, kMuteless, 1);  // another control of the same device
  slider().dragging = true;
  mixerdouble::changeControl(0, kVolume, 65535);
  EXPECT_EQ(deliver(), 2);
  EXPECT_EQ(slider().knobPos, 92);
  slider().dragging = false;

  // A new value on the same pixel is taken without a repaint; one that moves the knob repaints.
  mixerdouble::changeControl(0, kVolume, 32800);
  deliver();
  EXPECT_DOUBLE_EQ(slider().value, 32800 / 65535.0);
  EXPECT_FALSE(repainted());
  mixerdouble::changeControl(0, kVolume, 65535);
  deliver();
  EXPECT_EQ(slider().knobPos, 184);
  EXPECT_TRUE(repainted());

  // A read that fails leaves the slider bound where it was; unbound, nothing is read.
  mixerdouble::fail(mixerdouble::Op::GetDetails);
  mixerdouble::changeControl(0, kVolume, 0);
  deliver();
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().value, 1.0);
  mixerdouble::clearFailures();
  slider().unbindControl();
  slider().followNotice(MM_MIXM_CONTROL_CHANGE, kVolume);
  EXPECT_EQ(slider().value, 1.0);
}

TEST_F(MixerBinding, TheLinesMuteIsFoundFollowedAndToggled) {
  startClean();
  mixerdouble::device(0).destinations[0].controls[1].raw = 1;
  bindControl(slider(), 0, kLine, kVolume);
  EXPECT_TRUE(slider().levelMuted());

  // Changed elsewhere: followed, also during a drag, and repainted.
  forgetRepaints();
  slider().dragging = true;
  mixerdouble::changeControl(0, kMute, 0);
  deliver();
  EXPECT_FALSE(slider().levelMuted());
  EXPECT_TRUE(repainted());
  slider().dragging = false;

  // A toggle flips what the device has, also when the slider missed a change.
  mixerdouble::setNotifications(false);
  mixerdouble::changeControl(0, kMute, 1);
  EXPECT_TRUE(slider().toggleMute());
  EXPECT_EQ(mixerdouble::raw(0, kMute), 0u);
  EXPECT_FALSE(slider().levelMuted());
  EXPECT_TRUE(slider().toggleMute());
  EXPECT_EQ(mixerdouble::raw(0, kMute), 1u);
  EXPECT_TRUE(slider().levelMuted());
  EXPECT_EQ(mixerdouble::raw(0, kVolume), 32768u);

  // A line without a mute control, or no binding: nothing to toggle, nothing set.
  bindControl(slider(), 0, kSource, kSourceVolume);
  EXPECT_FALSE(slider().levelMuted());
  const size_t sets = mixerdouble::sets().size();
  EXPECT_FALSE(slider().toggleMute());
  slider().unbindControl();
  EXPECT_FALSE(slider().toggleMute());
  EXPECT_EQ(mixerdouble::sets().size(), sets);
}

TEST_F(MixerBinding, StartUpBindingIsNotifiedOnceTheWindowExists) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);
  stop();
  mixerdouble::clearLog();
  startClean();  // the settings reader binds it before the window exists
  const auto& log = mixerdouble::log();
  EXPECT_EQ(*std::find_if(log.begin(), log.end(),
                          [](const std::string& call) { return call.rfind("mixerOpen", 0) == 0; }),
            "mixerOpen(0, none, CALLBACK_WINDOW)");
  ASSERT_TRUE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::openHandles(), 1);

  mixerdouble::changeControl(0, kVolume, 0);
  EXPECT_EQ(deliver(), 1);
  EXPECT_EQ(slider().knobPos, 0);
  slider().value = 1.0;
  slider().writeLevel();
  EXPECT_EQ(mixerdouble::raw(0, kVolume), 65535u);
}

TEST_F(MixerBinding, StartUpBindingSurvivesWhenTheDeviceCannotBeOpenedAgain) {
  startClean();
  bindControl(slider(), 0, kLine, kVolume);
  stop();
  EXPECT_EQ(mixerdouble::openHandles(), 0);  // every binding is let go at stop
  // Restored before the window exists; opening it again for the window fails.
  mixerdouble::fail(mixerdouble::Op::Open, -1, 1);
  startClean();
  EXPECT_TRUE(mixerBound(slider()));
  slider().value = 0.0;
  slider().writeLevel();
  EXPECT_EQ(mixerdouble::raw(0, kVolume), 0u);
  stop();
  EXPECT_EQ(mixerdouble::openHandles(), 0);
}

}  // namespace
