// The driver failing where the plug-in does not look at the result: a set that
// fails and a close that fails leave the slider working and nothing else broken.
#include <string>

#include "commands/config_menu.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000u;

class MixerFaults : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    mixerdouble::Device device;
    mixerdouble::Line line;
    line.id = kLine;
    line.controls.push_back({3, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 32768, false});
    line.controls.push_back({4, MIXERCONTROL_CONTROLTYPE_VOLUME, "Wave", 0, false});
    device.destinations.push_back(line);
    mixerdouble::addDevice(device);
    useDefaultGeometry();
    slider().computeLayout();
  }
};

TEST_F(MixerFaults, AFailingSetKeepsTheValueFromTheMouse) {
  bindControl(slider(), 0, kLine, 3);
  ASSERT_TRUE(mixerBound(slider()));
  mixerdouble::fail(mixerdouble::Op::SetDetails);
  slider().setKnobFromPointer(4 + 4 + 46);
  slider().updateValueFromKnob();
  slider().writeLevel();
  EXPECT_EQ(slider().knobPos, 46);
  EXPECT_DOUBLE_EQ(slider().value, 0.25);
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::raw(0, 3), 32768u);  // the driver kept its value
  mixerdouble::clearFailures();
  slider().writeLevel();
  EXPECT_EQ(mixerdouble::raw(0, 3), static_cast<DWORD>(0.25 * 65535.0));
}

TEST_F(MixerFaults, AFailingCloseDoesNotStopARebindOrAnUnbind) {
  bindControl(slider(), 0, kLine, 3);
  ASSERT_TRUE(mixerBound(slider()));
  mixerdouble::fail(mixerdouble::Op::Close);
  bindControl(slider(), 0, kLine, 4);
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.controlId, 4u);
  EXPECT_EQ(slider().value, 0.0);
  slider().unbindControl();
  EXPECT_FALSE(mixerBound(slider()));
  slider().unbindControl();  // unbound: nothing left to close
  EXPECT_FALSE(mixerBound(slider()));
}

TEST_F(MixerFaults, NoDeviceCountListsNoDevicesAndStillOffersTheOptions) {
  mixerdouble::fail(mixerdouble::Op::GetNumDevs);
  showConfigMenu(slider());
  const std::string tree = hostdouble::menuTree(configMenu);
  EXPECT_NE(tree.find("-- No audio devices present."), std::string::npos) << tree;
  EXPECT_NE(tree.find("Position locked"), std::string::npos) << tree;
  EXPECT_NE(tree.find("10%"), std::string::npos) << tree;
}

}  // namespace
