// The configuration menu as the host receives it: the whole tree built from the
// mixer double's devices, with every failure shown in its own place.
#include "commands/config_menu.h"

#include <string>

#include "tests/support/plugin_fixture.h"

namespace {

using mixerdouble::Control;
using mixerdouble::Device;
using mixerdouble::Line;
using mixerdouble::Op;

Control control(DWORD id, const char* name = "Volume",
                DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME) {
  Control c;
  c.id = id;
  c.name = name;
  c.type = type;
  return c;
}

Control mute(DWORD id) { return control(id, "Mute", MIXERCONTROL_CONTROLTYPE_MUTE); }

Line line(DWORD id, const char* name, std::vector<Control> controls,
          std::vector<Line> sources = {}) {
  Line l;
  l.id = id;
  l.name = name;
  l.controls = std::move(controls);
  l.sources = std::move(sources);
  return l;
}

Device device(const char* name, std::vector<Line> destinations) {
  Device d;
  d.name = name;
  d.destinations = std::move(destinations);
  return d;
}

// A device like the ones wine shows: "Master Volume" with volume and mute, one source.
Device speakers(const char* name) {
  return device(name, {line(0xFFFF0000, "Master Volume", {control(0), mute(1)},
                            {line(0xFFFF0001, "Wave", {control(2), mute(3)})})});
}

// The entries of a speakers() device listed as device d.
std::string speakersEntries(const char* name, unsigned d, bool bound) {
  const std::string id = std::to_string(d);
  return std::string("    ") + name + "\n" + "      Master Volume\n" + "        " +
         (bound ? "[x]" : "[ ]") + " - Volume -> @KvSliderConfigure-mixer-slider1-" + id +
         "-4294901760-0\n" +
         "        -- \n"
         "        Wave\n"
         "          [ ] - Volume -> @KvSliderConfigure-mixer-slider1-" +
         id + "-4294901761-2\n";
}

const char kNothing[] = "[x] - Nothing -> @KvSliderConfigure-nomixer-slider1\n";
const char kNothingUnchecked[] = "[ ] - Nothing -> @KvSliderConfigure-nomixer-slider1\n";

class ConfigMenu : public PluginTest {
 protected:
  // The "Control" submenu as rendered, its lines still indented under the root.
  static std::string controlMenu() {
    const std::string tree = hostdouble::menuTree(hostdouble::lastShownMenu());
    const size_t begin = tree.find("  Control\n");
    const size_t end = tree.find("\n  Options\n");
    if (begin == std::string::npos || end == std::string::npos)
      return "no Control menu in:\n" + tree;
    return tree.substr(begin, end + 1 - begin);
  }

  static std::string opened() {
    showConfigMenu(slider());
    return controlMenu();
  }

  static int callsTo(const char* prefix) {
    int n = 0;
    for (const auto& entry : mixerdouble::log())
      if (entry.rfind(prefix, 0) == 0) ++n;
    return n;
  }
};

TEST_F(ConfigMenu, WithoutDevicesTheOtherSubmenusAreComplete) {
  slider().alwaysOnTop = true;
  slider().toggleWithPlugins = false;
  slider().snapWindow = true;
  slider().draggable = true;
  slider().setCeiling(70);
  showConfigMenu(slider());
  EXPECT_EQ(hostdouble::menuTree(hostdouble::lastShownMenu()),
            "KvSlider\n"
            "  Control\n"
            "    -- No audio devices present.\n"
            "  Options\n"
            "    [x] Always on top -> @KvSliderConfigure-ontoptoggle-slider1\n"
            "    [ ] Toggle with plugins -> @KvSliderConfigure-plugintoggle-slider1\n"
            "    [x] Snap to window borders -> @KvSliderConfigure-snaptoggle-slider1\n"
            "    [ ] Position locked -> @KvSliderConfigure-dragtoggle-slider1\n"
            "  Visibility\n"
            "    [ ] 100% -> @KvSliderConfigure-alpha-slider1-100\n"
            "    [ ] 90% -> @KvSliderConfigure-alpha-slider1-90\n"
            "    [ ] 80% -> @KvSliderConfigure-alpha-slider1-80\n"
            "    [ ] 70% -> @KvSliderConfigure-alpha-slider1-70\n"
            "    [ ] 60% -> @KvSliderConfigure-alpha-slider1-60\n"
            "    [ ] 50% -> @KvSliderConfigure-alpha-slider1-50\n"
            "    [ ] 40% -> @KvSliderConfigure-alpha-slider1-40\n"
            "    [ ] 30% -> @KvSliderConfigure-alpha-slider1-30\n"
            "    [ ] 20% -> @KvSliderConfigure-alpha-slider1-20\n"
            "    [ ] 10% -> @KvSliderConfigure-alpha-slider1-10\n"
            "  Ceiling\n"
            "    [ ] None -> @KvSliderConfigure-ceiling-slider1-100\n"
            "    [ ] 90% -> @KvSliderConfigure-ceiling-slider1-90\n"
            "    [ ] 80% -> @KvSliderConfigure-ceiling-slider1-80\n"
            "    [x] 70% -> @KvSliderConfigure-ceiling-slider1-70\n"
            "    [ ] 60% -> @KvSliderConfigure-ceiling-slider1-60\n"
            "    [ ] 50% -> @KvSliderConfigure-ceiling-slider1-50\n"
            "    [ ] 40% -> @KvSliderConfigure-ceiling-slider1-40\n"
            "    [ ] 30% -> @KvSliderConfigure-ceiling-slider1-30\n"
            "  [ ] New slider -> @KvSliderConfigure-newslider-slider1\n");
  EXPECT_EQ(configMenu, hostdouble::lastShownMenu());
  // Every submenu was made and attached under one title.
  EXPECT_EQ(hostdouble::callsNamed("MakeSubmenu").size(), 4u);

  slider().alwaysOnTop = false;
  slider().toggleWithPlugins = true;
  slider().snapWindow = false;
  slider().draggable = false;
  showConfigMenu(slider());
  const std::string tree = hostdouble::menuTree(hostdouble::lastShownMenu());
  EXPECT_NE(tree.find("    [ ] Always on top ->"), std::string::npos);
  EXPECT_NE(tree.find("    [x] Toggle with plugins ->"), std::string::npos);
  EXPECT_NE(tree.find("    [ ] Snap to window borders ->"), std::string::npos);
  EXPECT_NE(tree.find("    [x] Position locked ->"), std::string::npos);
}

TEST_F(ConfigMenu, ListsLinesAndTheirVolumeControlsInOrder) {
  mixerdouble::addDevice(device(
      "Card", {line(7, "Speakers", {control(20, "Master")},
                    {line(8, "Wave", {control(21, "Wave Volume"), control(22, "Wave Boost")}),
                     line(9, "CD", {mute(23), control(24, "CD Volume")})})}));
  EXPECT_EQ(opened(),
            "  Control\n"
            "    Card\n"
            "      Speakers\n"
            "        [ ] - Master -> @KvSliderConfigure-mixer-slider1-0-7-20\n"
            "        -- \n"
            "        Wave\n"
            "          [ ] - Wave Volume -> @KvSliderConfigure-mixer-slider1-0-8-21\n"
            "          [ ] - Wave Boost -> @KvSliderConfigure-mixer-slider1-0-8-22\n"
            "        CD\n"
            "          [ ] - CD Volume -> @KvSliderConfigure-mixer-slider1-0-9-24\n" +
                std::string("    ") + kNothing);
  EXPECT_EQ(mixerdouble::log().front(), "mixerGetNumDevs()");
  EXPECT_EQ(mixerdouble::log()[1], "mixerOpen(0, none, 0)");
  EXPECT_EQ(mixerdouble::log().back(), "mixerClose(0)");
  EXPECT_EQ(mixerdouble::openHandles(), 0);
}

TEST_F(ConfigMenu, LinesWithoutVolumeControlsGetNoSeparator) {
  // Identifiers and indexes beyond 31 bits print as unsigned decimals.
  mixerdouble::addDevice(device(
      "Card", {line(0xFFFF0000, "Speakers", {mute(1)},
                    {line(0xFFFF0001, "Mic", {mute(2), control(3, "Bass", 0x50030002)}),
                     line(0xFFFF0002, "Line In", {}), line(0xFFFF0003, "Aux", {control(4)})}),
               line(0xFFFF0010, "Recording", {})}));
  EXPECT_EQ(opened(),
            "  Control\n"
            "    Card\n"
            "      Speakers\n"
            "        Mic\n"
            "        Line In\n"
            "        Aux\n"
            "          [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-4294901763-4\n"
            "      Recording\n"
            "        -- No source lines available.\n" +
                std::string("    ") + kNothing);
  // A line without controls is still asked, for none.
  EXPECT_EQ(callsTo("mixerGetLineControlsA(0, line 4294901762, count 0)"), 1);
}

TEST_F(ConfigMenu, LooksAtNoMoreThanEightControlsOfALine) {
  std::vector<Control> controls;
  for (DWORD id = 0; id < 12; ++id) controls.push_back(id % 4 == 3 ? control(id) : mute(id));
  mixerdouble::addDevice(device("Card", {line(5, "Speakers", controls)}));
  EXPECT_EQ(opened(),
            "  Control\n"
            "    Card\n"
            "      Speakers\n"
            "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-5-3\n"
            "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-5-7\n"
            "        -- \n"
            "        -- No source lines available.\n" +
                std::string("    ") + kNothing);
  EXPECT_EQ(callsTo("mixerGetLineControlsA(0, line 5, count 8)"), 1);
}

TEST_F(ConfigMenu, AFailedControlQueryShowsInItsLineOnly) {
  mixerdouble::addDevice(speakers("Card"));
  mixerdouble::fail(Op::GetControls, 0, 0xFFFF0000);
  EXPECT_EQ(opened(),
            "  Control\n"
            "    Card\n"
            "      Master Volume\n"
            "        -- No controls available for this item.\n"
            "        Wave\n"
            "          [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-4294901761-2\n" +
                std::string("    ") + kNothing);
}

TEST_F(ConfigMenu, ChecksTheBoundControlInEveryDeviceWithItsIdentifiers) {
  mixerdouble::addDevice(speakers("First"));
  mixerdouble::addDevice(speakers("Second"));
  // Same control identifier on another line: not the bound control.
  mixerdouble::addDevice(device("Third", {line(0xFFFF0009, "Master Volume", {control(0)})}));
  slider().binding.kind = BindingKind::Winmm;
  slider().binding.winmm.deviceId = 0;
  slider().binding.winmm.lineId = 0xFFFF0000;
  slider().binding.winmm.controlId = 0;
  EXPECT_EQ(opened(),
            "  Control\n" + speakersEntries("First", 0, true) + "    " + kNothingUnchecked +
                speakersEntries("Second", 1, true) + "    " + kNothingUnchecked +
                "    Third\n"
                "      Master Volume\n"
                "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-2-4294901769-0\n"
                "        -- \n"
                "        -- No source lines available.\n" +
                "    " + kNothingUnchecked);

  slider().binding.kind = BindingKind::None;  // identifiers left over check nothing
  const std::string unbound = opened();
  EXPECT_EQ(unbound.find("[x] - Volume"), std::string::npos) << unbound;
  size_t nothings = 0;
  for (size_t at = unbound.find(kNothing); at != std::string::npos;
       at = unbound.find(kNothing, at + 1))
    ++nothings;
  EXPECT_EQ(nothings, 3u) << unbound;
}

TEST_F(ConfigMenu, ADeviceThatDoesNotOpenEndsTheDeviceList) {
  mixerdouble::addDevice(speakers("First"));
  mixerdouble::addDevice(speakers("Second"));
  mixerdouble::addDevice(speakers("Third"));
  mixerdouble::fail(Op::Open, 1);
  EXPECT_EQ(opened(), "  Control\n" + speakersEntries("First", 0, false) + "    " + kNothing +
                          "    -- Error opening mixer.\n");
  EXPECT_EQ(callsTo("mixerOpen(2"), 0);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
}

TEST_F(ConfigMenu, ADeviceWithoutCapabilitiesIsClosedAndEndsTheList) {
  mixerdouble::addDevice(device("First", {}));
  mixerdouble::addDevice(speakers("Second"));
  mixerdouble::addDevice(speakers("Third"));
  mixerdouble::fail(Op::GetDevCaps, 1);
  EXPECT_EQ(opened(),
            "  Control\n"
            "    First\n"
            "      -- No destination lines available.\n" +
                std::string("    ") + kNothing + "    -- Error opening mixer device.\n");
  EXPECT_EQ(callsTo("mixerClose(1)"), 1);
  EXPECT_EQ(callsTo("mixerOpen(2"), 0);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
}

TEST_F(ConfigMenu, ADeviceThatDoesNotCloseEndsTheListAfterItsEntries) {
  mixerdouble::addDevice(device("First", {}));
  mixerdouble::addDevice(speakers("Second"));
  mixerdouble::fail(Op::Close, 0);
  EXPECT_EQ(opened(),
            "  Control\n"
            "    First\n"
            "      -- No destination lines available.\n" +
                std::string("    ") + kNothing + "    -- Error closing the mixer.\n");
  // The refused handle is not closed a second time.
  EXPECT_EQ(callsTo("mixerClose(0)"), 1);
  EXPECT_EQ(callsTo("mixerOpen(1"), 0);
}

TEST_F(ConfigMenu, ALineReadFailureEndsOnlyItsOwnLevel) {
  mixerdouble::addDevice(
      device("First", {line(1, "Speakers", {control(10)},
                            {line(2, "Wave", {control(11)}), line(3, "CD", {control(12)}),
                             line(4, "Aux", {control(13)})}),
                       line(5, "Headphones", {control(14)}), line(6, "Recording", {control(15)})}));
  mixerdouble::addDevice(device("Second", {line(1, "Speakers", {control(10)})}));
  mixerdouble::fail(Op::GetSource, 0, 1);
  mixerdouble::fail(Op::GetDestination, 0, 1);
  EXPECT_EQ(opened(),
            "  Control\n"
            "    First\n"
            "      Speakers\n"
            "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-1-10\n"
            "        -- \n"
            "        Wave\n"
            "          [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-2-11\n"
            "        -- Error opening mixer source lines.\n"
            "      -- Error opening mixer destination lines.\n" +
                std::string("    ") + kNothing +
                "    Second\n"
                "      Speakers\n"
                "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-1-1-10\n"
                "        -- \n"
                "        -- No source lines available.\n" +
                "    " + kNothing);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(mixerdouble::opens(), 2);
}

TEST_F(ConfigMenu, EachOpeningReplacesTheMenuAndStoppingDeletesIt) {
  mixerdouble::addDevice(speakers("Card"));
  ASSERT_EQ(start(), 0);
  hostdouble::clearCalls();
  showConfigMenu(slider());
  const int live = hostdouble::liveMenus();
  hostdouble::clearCalls();

  showConfigMenu(slider());
  const auto& calls = hostdouble::calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "DelMenu(m1)");  // the first menu made since the double was reset
  EXPECT_EQ(calls[1].rfind("MakeMenu(KvSlider)", 0), 0u) << calls[1];
  EXPECT_EQ(hostdouble::lastShownMenu(), configMenu);
  EXPECT_EQ(hostdouble::liveMenus(), live);
  EXPECT_EQ(mixerdouble::openHandles(), 0);

  // Every submenu hangs in the tree, so deleting the root frees them all.
  stop();
  EXPECT_EQ(hostdouble::liveMenus(), 0);
  EXPECT_EQ(configMenu, nullptr);
}

TEST_F(ConfigMenu, NamesFillingTheirWholeFieldAreReadToItsEndOnly) {
  const std::string product(32, 'P');  // szPname holds 32
  const std::string name(64, 'N');     // szName of lines and controls holds 64
  Device d = device(product.c_str(), {line(1, name.c_str(), {control(2, name.c_str())})});
  // Non-zero bytes right behind each field, as drivers leave them.
  d.support = 0x41414141;
  d.destinations[0].targetType = MIXERLINE_TARGETTYPE_WAVEOUT;
  d.destinations[0].controls[0].minimum = 0x42424242;
  mixerdouble::addDevice(d);
  EXPECT_EQ(opened(),
            "  Control\n"
            "    " +
                product + "\n" + "      " + name + "\n" + "        [ ] - " + name +
                " -> @KvSliderConfigure-mixer-slider1-0-1-2\n" +
                "        -- \n"
                "        -- No source lines available.\n" +
                "    " + kNothing);
  // The titles of MakeMenu and MakeSubmenu agree even for such names.
  EXPECT_EQ(hostdouble::menuTree(configMenu).find("attached as"), std::string::npos);
}

}  // namespace
