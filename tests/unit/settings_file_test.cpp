// Finding, reading, repairing and writing the settings file, seen through the
// host double's table and call record.
#include "settings/settings_file.h"

#include <iterator>
#include <string>
#include <vector>

#include "mixer/binding.h"
#include "plugin/sliders.h"
#include "slider/placement.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr char kTooSmall[] = "KvSlider size settings are too small!  Defaults set.";
constexpr char kFile[] = "C:\\settings\\KvSlider.rc";

std::string moduleDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.rfind('\\') + 1);
}

void store(const char* key, const std::string& text) { hostdouble::setValue(kFile, key, text); }

class SettingsFile : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    moduleInstance = instance();
  }
  void TearDown() override {
    setMonitorLookup(nullptr);
    PluginTest::TearDown();
  }
};

// ---- locating -------------------------------------------------------------

class LocateSettings : public SettingsFile {
 protected:
  std::vector<std::string> probes() {
    std::vector<std::string> out;
    for (const auto& c : hostdouble::calls())
      if (c.rfind("FileExists(", 0) == 0 || c.rfind("GetTolvanePath(", 0) == 0) out.push_back(c);
    return out;
  }
  static std::string probe(const std::string& path) { return "FileExists(" + path + ")"; }

  const std::string module_ = moduleDirectory();
};

TEST_F(LocateSettings, NoFileAnywhereFallsBackToTheModuleDirectory) {
  hostdouble::setTolvanePath("C:\\Tolvane\\");
  locateSettings();
  EXPECT_EQ(std::string(settingsPath), module_ + "KvSlider.rc");
  EXPECT_EQ(probes(), (std::vector<std::string>{
                          probe(module_ + "KvSliderrc"),
                          probe(module_ + "KvSlider.rc"),
                          "GetTolvanePath(260)",
                          probe("C:\\Tolvane\\KvSliderrc"),
                          probe("C:\\Tolvane\\KvSlider.rc"),
                      }));
}

TEST_F(LocateSettings, CandidatesAreTakenInOrderOfPreference) {
  struct Case {
    const char* name;
    std::vector<std::string> existing;
    std::string expected;
  };
  const std::string m = module_;
  const std::string h = "C:\\Tolvane\\";
  const Case cases[] = {
      {"both names in the module directory",
       {m + "KvSliderrc", m + "KvSlider.rc"},
       m + "KvSliderrc"},
      {"module directory beats host directory",
       {m + "KvSlider.rc", h + "KvSliderrc"},
       m + "KvSlider.rc"},
      {"host directory, preferred name", {h + "KvSliderrc", h + "KvSlider.rc"}, h + "KvSliderrc"},
      {"host directory, other name", {h + "KvSlider.rc"}, h + "KvSlider.rc"},
  };
  for (const Case& c : cases) {
    hostdouble::reset();
    hostdouble::setTolvanePath(h);
    for (const auto& path : c.existing) hostdouble::setFileExists(path, true);
    locateSettings();
    EXPECT_EQ(std::string(settingsPath), c.expected) << c.name;
  }
}

TEST_F(LocateSettings, HostDirectoryIsJoinedWithExactlyOneBackslash) {
  for (const char* host : {"C:\\Tolvane", "C:\\Tolvane\\"}) {
    hostdouble::reset();
    hostdouble::setTolvanePath(host);
    hostdouble::setFileExists("C:\\Tolvane\\KvSlider.rc", true);
    locateSettings();
    EXPECT_STREQ(settingsPath, "C:\\Tolvane\\KvSlider.rc") << host;
  }
}

TEST_F(LocateSettings, HostCandidatesThatCannotBeNamedAreSkipped) {
  // 248 characters and a separator leave room for "KvSliderrc" but not "KvSlider.rc".
  const std::string tight = "C:\\" + std::string(245, 'd');
  const std::string overlong = "C:\\" + std::string(300, 'd');
  struct Case {
    std::string host;
    std::vector<std::string> hostProbes;
  };
  const Case cases[] = {
      {tight, {probe(tight + "\\KvSliderrc")}},
      {overlong, {}},  // cut to 259 by the host: still too long
      {"", {}},        // no directory at all
  };
  for (const Case& c : cases) {
    hostdouble::reset();
    hostdouble::setTolvanePath(c.host);
    hostdouble::setFileExists(tight + "\\KvSliderrc", false);
    locateSettings();
    std::vector<std::string> expected = {probe(module_ + "KvSliderrc"),
                                         probe(module_ + "KvSlider.rc"), "GetTolvanePath(260)"};
    expected.insert(expected.end(), c.hostProbes.begin(), c.hostProbes.end());
    EXPECT_EQ(probes(), expected) << c.host.size();
    EXPECT_EQ(std::string(settingsPath), module_ + "KvSlider.rc");
  }
  hostdouble::reset();
  hostdouble::setTolvanePath(tight);
  hostdouble::setFileExists(tight + "\\KvSliderrc", true);
  locateSettings();
  EXPECT_EQ(std::string(settingsPath), tight + "\\KvSliderrc");
}

TEST_F(LocateSettings, AModuleWithoutANameLooksBesideTheHostThenUsesTheBareName) {
  moduleInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10));  // no module
  hostdouble::setTolvanePath("C:\\Tolvane");
  locateSettings();
  EXPECT_EQ(probes(), (std::vector<std::string>{
                          probe("KvSliderrc"), probe("KvSlider.rc"), "GetTolvanePath(260)",
                          probe("C:\\Tolvane\\KvSliderrc"), probe("C:\\Tolvane\\KvSlider.rc")}));
  EXPECT_STREQ(settingsPath, "KvSlider.rc");
}

// ---- reading ----------------------------------------------------------------

TEST_F(SettingsFile, ReadsEveryKeyInOrderWithItsDefault) {
  readSettings(slider(), kFile);
  const std::string f = kFile;
  const std::vector<std::string> expected = {
      "ReadInt(" + f + ", kvslider.slider1.x:, 10)",
      "ReadInt(" + f + ", kvslider.slider1.y:, 10)",
      "ReadInt(" + f + ", kvslider.slider1.width:, 200)",
      "ReadInt(" + f + ", kvslider.slider1.height:, 24)",
      "ReadInt(" + f + ", kvslider.slider1.margin:, 4)",
      "ReadInt(" + f + ", kvslider.slider1.knob.height:, 16)",
      "ReadInt(" + f + ", kvslider.slider1.knob.width:, 8)",
      "ReadInt(" + f + ", kvslider.slider1.track.height:, 8)",
      "ReadBool(" + f + ", kvslider.slider1.transparent:, false)",
      "ReadBool(" + f + ", kvslider.slider1.alwaysontop:, true)",
      "ReadBool(" + f + ", kvslider.slider1.snapwindow:, true)",
      "ReadBool(" + f + ", kvslider.slider1.togglewithplugins:, false)",
      "ReadBool(" + f + ", kvslider.slider1.draggable:, true)",
      "ReadInt(" + f + ", kvslider.slider1.alpha:, 100)",
      "ReadInt(" + f + ", kvslider.slider1.wheelstep:, 2)",
      "ReadInt(" + f + ", kvslider.slider1.ceiling:, 100)",
      "ReadBool(" + f + ", kvslider.slider1.mixer.set:, false)",
      "ReadString(" + f + ", kvslider.slider1.mixer.device, 0)",
      "ReadString(" + f + ", kvslider.slider1.mixer.line, 0)",
      "ReadString(" + f + ", kvslider.slider1.mixer.control, 0)",
      "ReadString(" + f + ", kvslider.slider1.mixer.devicename:, )",
      "ReadString(" + f + ", kvslider.slider1.endpoint:, )",
      "ReadString(" + f + ", kvslider.slider1.microphone:, )",
      "ReadString(" + f + ", kvslider.slider1.app:, )",
  };
  EXPECT_EQ(hostdouble::calls(), expected);

  EXPECT_EQ(slider().x, 10);
  EXPECT_EQ(slider().y, 10);
  EXPECT_EQ(slider().width, 200);
  EXPECT_EQ(slider().height, 24);
  EXPECT_EQ(slider().margin, 4);
  EXPECT_EQ(slider().knobHeight, 16);
  EXPECT_EQ(slider().knobWidth, 8);
  EXPECT_EQ(slider().trackHeight, 8);
  EXPECT_FALSE(slider().transparent);
  EXPECT_TRUE(slider().alwaysOnTop);
  EXPECT_TRUE(slider().snapWindow);
  EXPECT_FALSE(slider().toggleWithPlugins);
  EXPECT_TRUE(slider().draggable);
  EXPECT_EQ(slider().alpha, 100);
  EXPECT_EQ(slider().wheelStep, 2);
  EXPECT_FALSE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::opens(), 0);
}

TEST_F(SettingsFile, StoredValuesReplaceTheDefaults) {
  store("kvslider.slider1.x:", "-50");
  store("kvslider.slider1.y:", "300");
  store("kvslider.slider1.width:", "320");
  store("kvslider.slider1.height:", "30");
  store("kvslider.slider1.margin:", "3");
  store("kvslider.slider1.knob.height:", "20");
  store("kvslider.slider1.knob.width:", "10");
  store("kvslider.slider1.track.height:", "6");
  store("kvslider.slider1.transparent:", "true");
  store("kvslider.slider1.alwaysontop:", "false");
  store("kvslider.slider1.snapwindow:", "false");
  store("kvslider.slider1.togglewithplugins:", "true");
  store("kvslider.slider1.draggable:", "false");
  store("kvslider.slider1.alpha:", "100");
  slider().pluginsHidden = false;
  readSettings(slider(), kFile);
  EXPECT_EQ(slider().x, -50);
  EXPECT_EQ(slider().y, 300);
  EXPECT_EQ(slider().width, 320);
  EXPECT_EQ(slider().height, 30);
  EXPECT_EQ(slider().margin, 3);
  EXPECT_EQ(slider().knobHeight, 20);
  EXPECT_EQ(slider().knobWidth, 10);
  EXPECT_EQ(slider().trackHeight, 6);
  EXPECT_TRUE(slider().transparent);  // independent of alpha
  EXPECT_FALSE(slider().alwaysOnTop);
  EXPECT_FALSE(slider().snapWindow);
  EXPECT_TRUE(slider().toggleWithPlugins);
  EXPECT_FALSE(slider().draggable);
  EXPECT_EQ(slider().alpha, 100);
  EXPECT_FALSE(slider().pluginsHidden);  // has no key
}

TEST_F(SettingsFile, PositionOffEveryMonitorIsRepairedAlphaClampedWheelStepReset) {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    int x, y, alpha;
    int expectedX, expectedY, expectedAlpha;
  };
  // The window is 200 x 24; wine shows one monitor, the primary screen.
  const Case cases[] = {
      {w, h, -5, 10, 10, 0},
      {w - 1, h - 1, 150, w - 1, h - 1, 100},
      {-199, -23, 0, -199, -23, 0},  // its last pixel still on the screen
      {-200, 40, 0, 10, 10, 0},
      {-50, -7000, 0, 10, 10, 0},
      {w + 5000, 20, 100, 10, 10, 100},
      {20, h, 50, 10, 10, 50},
      {2147483647, -2147483647 - 1, -2147483647 - 1, 10, 10, 0},
  };
  for (const Case& c : cases) {
    store("kvslider.slider1.x:", std::to_string(c.x));
    store("kvslider.slider1.y:", std::to_string(c.y));
    store("kvslider.slider1.alpha:", std::to_string(c.alpha));
    store("kvslider.slider1.transparent:", "false");
    slider().pluginsHidden = false;
    readSettings(slider(), kFile);
    EXPECT_EQ(slider().x, c.expectedX) << c.x << "," << c.y;
    EXPECT_EQ(slider().y, c.expectedY) << c.x << "," << c.y;
    EXPECT_EQ(slider().alpha, c.expectedAlpha) << c.alpha;
    EXPECT_FALSE(slider().transparent) << c.alpha;
    EXPECT_FALSE(slider().pluginsHidden) << c.alpha;  // not even alpha 0 hides at start
  }

  const struct {
    const char* stored;
    int expected;
  } steps[] = {{"1", 1}, {"25", 25}, {"7", 7}, {"0", 2}, {"26", 2}, {"-3", 2}, {"-2147483648", 2}};
  for (const auto& step : steps) {
    store("kvslider.slider1.wheelstep:", step.stored);
    readSettings(slider(), kFile);
    EXPECT_EQ(slider().wheelStep, step.expected) << step.stored;
  }
  // A ceiling outside 1..100 is none at all, not the nearer end.
  const struct {
    const char* stored;
    int expected;
  } ceilings[] = {{"1", 1}, {"55", 55}, {"0", 100}, {"101", 100}, {"-40", 100}};
  for (const auto& c : ceilings) {
    store("kvslider.slider1.ceiling:", c.stored);
    readSettings(slider(), kFile);
    EXPECT_EQ(slider().ceiling, c.expected) << c.stored;
    EXPECT_DOUBLE_EQ(slider().ceilingLevel(), c.expected / 100.0) << c.stored;
  }
}

// A desktop of three monitors: the primary, a larger one to its right and
// one left of and above it.
const RECT kMonitors[] = {{0, 0, 1024, 768}, {1024, 0, 2944, 1080}, {-1280, -1024, 0, 0}};
RECT lastLookedUp;

bool threeMonitors(const RECT& r, DWORD flags, RECT& monitor) {
  lastLookedUp = r;
  for (const RECT& m : kMonitors) {
    RECT common;
    if (!IntersectRect(&common, &r, &m)) continue;
    monitor = m;
    return true;
  }
  monitor = kMonitors[0];
  return flags != MONITOR_DEFAULTTONULL;
}

TEST_F(SettingsFile, PositionOnAnyMonitorIsKeptAndOnNoneComesBackToThePrimary) {
  setMonitorLookup(threeMonitors);
  struct Case {
    int x, y;
    bool kept;
  };
  const Case cases[] = {
      {1500, 500, true},      // on the right-hand monitor, beyond the primary's width
      {2000, 1000, true},     // below the primary's height, still on the right-hand one
      {-600, -300, true},     // on the one above and to the left
      {-150, 100, true},      // partly left of the primary
      {825, 1056, true},      // one pixel on the right-hand monitor's corner
      {-200, 500, false},     // left of the primary, below the upper-left one
      {500, 800, false},      // below the primary
      {2944, 10, false},      // just right of the right-hand monitor
      {-1480, -1048, false},  // just beyond the upper-left one's corner
  };
  for (const Case& c : cases) {
    store("kvslider.slider1.x:", std::to_string(c.x));
    store("kvslider.slider1.y:", std::to_string(c.y));
    readSettings(slider(), kFile);
    EXPECT_EQ(slider().x, c.kept ? c.x : 10) << c.x << "," << c.y;
    EXPECT_EQ(slider().y, c.kept ? c.y : 10) << c.x << "," << c.y;
    EXPECT_EQ(lastLookedUp.right - lastLookedUp.left, 200);
    EXPECT_EQ(lastLookedUp.bottom - lastLookedUp.top, 24);
  }

  // The rectangle looked up is the one of the sizes in force after their repair.
  MessageBoxCapture boxes;
  store("kvslider.slider1.width:", "3");
  store("kvslider.slider1.x:", "-250");
  store("kvslider.slider1.y:", "100");
  readSettings(slider(), kFile);
  EXPECT_EQ(lastLookedUp.right, -50);
  EXPECT_EQ(slider().x, 10);
}

TEST_F(SettingsFile, SizesAreValidatedAndResetWithTheBox) {
  struct Case {
    const char* name;
    int width, height, margin, knobWidth, knobHeight, trackHeight;
    bool accepted;
  };
  const int kMax = 2147483647, kMin = -2147483647 - 1;
  const Case cases[] = {
      {"defaults", 200, 24, 4, 8, 16, 8, true},
      {"width 3", 3, 24, 4, 8, 16, 8, false},
      {"smallest accepted", 4, 4, 0, 4, 4, 4, true},
      {"height 3", 4, 3, 0, 4, 3, 3, false},
      {"margin 5: 10 + 16 > 24", 200, 24, 5, 8, 16, 8, false},
      {"margin -2", 200, 24, -2, 8, 16, 8, true},
      {"knob wider than the track", 20, 24, 4, 13, 16, 8, false},
      {"knob exactly as wide: travel 0", 20, 24, 4, 12, 16, 8, true},
      {"track taller than the window", 200, 24, 4, 8, 16, 17, false},
      {"track 3 long", 11, 24, 4, 1, 16, 8, false},
      {"track 4 long", 12, 24, 4, 1, 16, 8, true},
      {"negative knob and track", 200, 24, 4, -8, -16, -8, true},
      {"huge width", kMax, 24, 0, 8, 16, 8, true},
      // Sizes whose sums would wrap in 32 bits are refused rather than misjudged.
      {"margin 2^30", 200, 24, 1073741824, 8, 16, 8, false},
      {"margin -2^30", 200, 24, -1073741824, 8, 16, 8, false},
      {"largest margin", 200, 24, kMax, 8, 16, 8, false},
      {"smallest margin", 200, 24, kMin, 8, 16, 8, false},
      {"knob width beyond any travel", 200, 24, 0, kMin, 16, 8, false},
      {"all smallest", kMin, kMin, kMin, kMin, kMin, kMin, false},
  };
  for (const Case& c : cases) {
    store("kvslider.slider1.width:", std::to_string(c.width));
    store("kvslider.slider1.height:", std::to_string(c.height));
    store("kvslider.slider1.margin:", std::to_string(c.margin));
    store("kvslider.slider1.knob.width:", std::to_string(c.knobWidth));
    store("kvslider.slider1.knob.height:", std::to_string(c.knobHeight));
    store("kvslider.slider1.track.height:", std::to_string(c.trackHeight));
    store("kvslider.slider1.x:", "33");
    store("kvslider.slider1.alpha:", "44");
    MessageBoxCapture boxes;
    readSettings(slider(), kFile);
    if (c.accepted) {
      EXPECT_TRUE(boxes.boxes().empty()) << c.name;
      EXPECT_EQ(slider().width, c.width) << c.name;
      EXPECT_EQ(slider().height, c.height) << c.name;
      EXPECT_EQ(slider().margin, c.margin) << c.name;
      EXPECT_EQ(slider().knobWidth, c.knobWidth) << c.name;
      EXPECT_EQ(slider().knobHeight, c.knobHeight) << c.name;
      EXPECT_EQ(slider().trackHeight, c.trackHeight) << c.name;
      continue;
    }
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.name;
    const CapturedBox& box = boxes.boxes()[0];
    EXPECT_EQ(box.text, kTooSmall);
    EXPECT_EQ(box.caption, "KvSlider 0.1.1");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.topmost);
    EXPECT_TRUE(box.errorIcon);
    EXPECT_EQ(slider().width, 200) << c.name;
    EXPECT_EQ(slider().height, 24) << c.name;
    EXPECT_EQ(slider().margin, 4) << c.name;
    EXPECT_EQ(slider().knobWidth, 8) << c.name;
    EXPECT_EQ(slider().knobHeight, 16) << c.name;
    EXPECT_EQ(slider().trackHeight, 8) << c.name;
    EXPECT_EQ(slider().x, 33) << c.name;  // the reset touches nothing else
    EXPECT_EQ(slider().alpha, 44) << c.name;
  }
}

TEST_F(SettingsFile, KnobFollowsTheResetSizes) {
  store("kvslider.slider1.width:", "3");
  slider().value = 0.25;
  MessageBoxCapture boxes;
  readSettings(slider(), kFile);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(slider().travel(), 184);
  EXPECT_EQ(slider().knobPos, 46);
  EXPECT_EQ(slider().value, 0.25);
}

TEST_F(SettingsFile, StartUpShowsTheSizeBoxAndOpensTheWindowAtDefaultSize) {
  locateSettings();
  hostdouble::setValue(settingsPath, "kvslider.slider1.width:", "3");
  hostdouble::setValue(settingsPath, "kvslider.slider1.x:", "40");
  hostdouble::setValue(settingsPath, "kvslider.slider1.y:", "50");
  MessageBoxCapture boxes;
  ASSERT_EQ(start(), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, kTooSmall);
  RECT r;
  GetWindowRect(slider().window, &r);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 24);
}

// ---- the stored binding ------------------------------------------------------

constexpr DWORD kHighLine = 4294901760u;
constexpr DWORD kHighControl = 3000000000u;

void addDevice(DWORD line, DWORD control, DWORD raw) {
  mixerdouble::Line l;
  l.id = line;
  l.controls = {{control, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", raw, false}};
  mixerdouble::Device d;
  d.destinations = {l};
  mixerdouble::addDevice(d);
}

TEST_F(SettingsFile, StoredFlagWithoutIdentifiersBindsTheFirstControl) {
  addDevice(0, 0, 32768);
  store("kvslider.slider1.mixer.set:", "true");
  readSettings(slider(), kFile);
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.deviceId, 0u);
  EXPECT_EQ(slider().binding.winmm.lineId, 0u);
  EXPECT_EQ(slider().binding.winmm.controlId, 0u);
  EXPECT_EQ(mixerdouble::log().front(), "mixerOpen(0, none, CALLBACK_WINDOW)");
  EXPECT_EQ(slider().knobPos, 92);
  unbindVolume(slider().binding);
}

TEST_F(SettingsFile, StoredIdentifiersAreReadAsThirtyTwoBitsAndCutAt255) {
  addDevice(0, 0, 0);
  struct Case {
    std::string text;
    DWORD bits;
  };
  const Case cases[] = {
      {"-1", 0xFFFFFFFFu},
      {"4294901760", kHighLine},
      {" +12 apples", 12},
      {"", 0},
      {std::string(255, '0') + "7", 0},  // the 256th character is not read
      {std::string(254, '0') + "7" + std::string(45, '9'), 7},
  };
  for (const Case& c : cases) {
    store("kvslider.slider1.mixer.set:", "true");
    store("kvslider.slider1.mixer.line", c.text);
    readSettings(slider(), kFile);  // the line only names the binding, it addresses nothing
    EXPECT_EQ(slider().binding.winmm.lineId, c.bits) << c.text.substr(0, 20);
    unbindVolume(slider().binding);
  }
}

TEST_F(SettingsFile, KnobOfAStoredBindingFollowsTheResetSizes) {
  addDevice(0, 0, 65535);
  store("kvslider.slider1.mixer.set:", "true");
  store("kvslider.slider1.width:", "3");
  MessageBoxCapture boxes;
  readSettings(slider(), kFile);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  ASSERT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().knobPos, 184);  // bound with width 3 it stood at -13
  unbindVolume(slider().binding);
}

TEST_F(SettingsFile, StoredBindingThatCannotBeMadeIsKeptUntilAnotherIsChosen) {
  locateSettings();
  const std::string file = settingsPath;
  const std::string name = "kvslider.slider1.mixer.devicename:";
  hostdouble::setValue(file, "kvslider.slider1.mixer.set:", "true");
  hostdouble::setValue(file, "kvslider.slider1.mixer.device", "1");  // not plugged in yet
  hostdouble::setValue(file, "kvslider.slider1.mixer.control", "9");
  hostdouble::setValue(file, name, "USB Headset");
  const auto restart = [this] {
    stop();
    unbindVolume(slider().binding);
    clearSliders();
    ASSERT_EQ(start(), 0);
  };
  ASSERT_EQ(start(), 0);
  EXPECT_FALSE(mixerBound(slider()));
  EXPECT_TRUE(keptFromFile(slider(), storedBindingOf(slider())));  // "- Nothing" is not chosen
  EXPECT_EQ(hostdouble::callsNamed("HostMsgStatusText").size(), 1u);
  restart();  // written back as read
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "true");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.device"), "1");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.control"), "9");
  EXPECT_EQ(hostdouble::value(file, name), "USB Headset");

  // Found at the next start; the user's next choice replaces it, "- Nothing" too.
  addDevice(0, 0, 0);
  addDevice(0, 9, 13107);
  mixerdouble::device(1).name = "USB Headset";
  restart();
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.deviceId, 1u);
  handleCommand(slider(), "@KvSliderConfigure-nomixer-slider1");
  restart();
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "false");
  EXPECT_FALSE(mixerBound(slider()));
  EXPECT_FALSE(keptFromFile(slider(), storedBindingOf(slider())));
}

TEST_F(SettingsFile, StoredDeviceNameFindsItsDeviceWhenIndicesShift) {
  const std::string name = "kvslider.slider1.mixer.devicename:";
  const struct {
    const char* stored;  // no key at all when null
    std::vector<std::string> devices;
    int bound;  // -1: none, and the stored binding is written back as read
  } cases[] = {
      {nullptr, {"HDMI", "USB Headset"}, 0},                    // first: every case writes the key
      {"USB Headset", {"Onboard", "HDMI", "USB Headset "}, 2},  // blanks around do not count
      {"USB Headset", {"USB Headset", "USB Headset"}, 0},       // the stored index first
      {"USB Headset", {"HDMI", "Onboard"}, -1},                 // none has it: kept, not bound
      {"", {"HDMI", "USB Headset"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(no key)");
    mixerdouble::reset();
    for (UINT d = 0; d < c.devices.size(); ++d) {
      addDevice(0, 9, 0);
      mixerdouble::device(d).name = c.devices[d];
    }
    store("kvslider.slider1.mixer.set:", "true");
    store("kvslider.slider1.mixer.control", "9");
    if (c.stored) store(name.c_str(), c.stored);
    readSettings(slider(), kFile);
    ASSERT_EQ(mixerBound(slider()), c.bound >= 0);
    if (!c.stored) {  // a file from before names were kept reads exactly as then
      EXPECT_EQ(mixerdouble::log().front(), "mixerOpen(0, none, CALLBACK_WINDOW)");
    }
    writeSettings(slider(), kFile);  // the name of what was bound, or of what was kept
    if (c.bound < 0) {
      EXPECT_EQ(mixerdouble::sets().size(), 0u);
      EXPECT_EQ(hostdouble::value(kFile, name), c.stored);
      EXPECT_EQ(hostdouble::value(kFile, "kvslider.slider1.mixer.device"), "0");
      EXPECT_EQ(hostdouble::value(kFile, "kvslider.slider1.mixer.set:"), "true");
      continue;
    }
    EXPECT_EQ(slider().binding.winmm.deviceId, static_cast<unsigned>(c.bound));
    EXPECT_EQ(hostdouble::value(kFile, name), c.devices[c.bound]);
    unbindVolume(slider().binding);
  }
}

TEST_F(SettingsFile, BindingMadeByACommandIsRestoredAtTheNextStart) {
  addDevice(0, 0, 0);
  addDevice(kHighLine, kHighControl, 13107);  // 0.2
  ASSERT_EQ(start(), 0);
  const std::string file = settingsPath;
  handleCommand(slider(), "@KvSliderConfigure-mixer-slider1-1-4294901760-3000000000");
  ASSERT_TRUE(mixerBound(slider()));
  stop();
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "true");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.device"), "1");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.line"), "-65536");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.control"), "-1294967296");

  // The module unloads and is loaded again.
  unbindVolume(slider().binding);
  clearSliders();
  ASSERT_EQ(start(), 0);
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.deviceId, 1u);
  EXPECT_EQ(slider().binding.winmm.lineId, kHighLine);
  EXPECT_EQ(slider().binding.winmm.controlId, kHighControl);
  EXPECT_DOUBLE_EQ(slider().value, 0.2);

  // Unbound at this stop: the flag goes false, the identifiers stay in the file.
  handleCommand(slider(), "@KvSliderConfigure-nomixer-slider1");
  hostdouble::clearCalls();
  stop();
  EXPECT_EQ(hostdouble::callsNamed("WriteString"),
            (std::vector<std::string>{"WriteString(" + file + ", kvslider.slider1.endpoint:, )",
                                      "WriteString(" + file + ", kvslider.slider1.microphone:, )",
                                      "WriteString(" + file + ", kvslider.slider1.app:, )",
                                      "WriteString(" + file + ", kvslider.sliders:, slider1)"}));
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "false");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.line"), "-65536");
}

// ---- writing ----------------------------------------------------------------

TEST_F(SettingsFile, WritesEveryFieldInTableOrder) {
  slider().x = -5;
  slider().y = 7;
  slider().width = 300;
  slider().height = 30;
  slider().margin = 2;
  slider().knobHeight = 18;
  slider().knobWidth = 9;
  slider().trackHeight = 5;
  slider().transparent = true;
  slider().alwaysOnTop = false;
  slider().snapWindow = true;
  slider().toggleWithPlugins = true;
  slider().draggable = false;
  slider().alpha = 60;
  slider().wheelStep = 5;
  slider().binding.winmm.deviceId = 3;
  writeSettings(slider(), kFile);
  const std::string f = kFile;
  const std::vector<std::string> expected = {
      "WriteInt(" + f + ", kvslider.slider1.x:, -5)",
      "WriteInt(" + f + ", kvslider.slider1.y:, 7)",
      "WriteInt(" + f + ", kvslider.slider1.width:, 300)",
      "WriteInt(" + f + ", kvslider.slider1.height:, 30)",
      "WriteInt(" + f + ", kvslider.slider1.margin:, 2)",
      "WriteInt(" + f + ", kvslider.slider1.knob.height:, 18)",
      "WriteInt(" + f + ", kvslider.slider1.knob.width:, 9)",
      "WriteInt(" + f + ", kvslider.slider1.track.height:, 5)",
      "WriteBool(" + f + ", kvslider.slider1.transparent:, true)",
      "WriteBool(" + f + ", kvslider.slider1.alwaysontop:, false)",
      "WriteBool(" + f + ", kvslider.slider1.snapwindow:, true)",
      "WriteBool(" + f + ", kvslider.slider1.togglewithplugins:, true)",
      "WriteBool(" + f + ", kvslider.slider1.draggable:, false)",
      "WriteInt(" + f + ", kvslider.slider1.alpha:, 60)",
      "WriteInt(" + f + ", kvslider.slider1.wheelstep:, 5)",
      "WriteInt(" + f + ", kvslider.slider1.ceiling:, 100)",
      "WriteBool(" + f + ", kvslider.slider1.mixer.set:, false)",
      "WriteString(" + f + ", kvslider.slider1.endpoint:, )",
      "WriteString(" + f + ", kvslider.slider1.microphone:, )",
      "WriteString(" + f + ", kvslider.slider1.app:, )",
  };
  EXPECT_EQ(hostdouble::calls(), expected);  // unbound: no identifiers
}

TEST_F(SettingsFile, IdentifiersAndDeviceNameAreWrittenOnlyWhileBound) {
  store("kvslider.slider1.mixer.device", "1");  // kept when unbound
  slider().binding.winmm.deviceId = 2;
  slider().binding.winmm.lineId = 4294967295u;
  slider().binding.winmm.controlId = 2147483648u;
  lstrcpyA(slider().binding.winmm.deviceName, "Mixer");
  slider().binding.kind = BindingKind::Winmm;  // bound by hand: no device to close
  writeSettings(slider(), kFile);
  slider().binding.kind = BindingKind::None;
  const auto written = hostdouble::callsNamed("WriteString");
  const std::string f = kFile;
  EXPECT_EQ(written, (std::vector<std::string>{
                         "WriteString(" + f + ", kvslider.slider1.mixer.device, 2)",
                         "WriteString(" + f + ", kvslider.slider1.mixer.line, -1)",
                         "WriteString(" + f + ", kvslider.slider1.mixer.control, -2147483648)",
                         "WriteString(" + f + ", kvslider.slider1.mixer.devicename:, Mixer)",
                         "WriteString(" + f + ", kvslider.slider1.endpoint:, )",
                         "WriteString(" + f + ", kvslider.slider1.microphone:, )",
                         "WriteString(" + f + ", kvslider.slider1.app:, )",
                     }));
  EXPECT_EQ(hostdouble::calls().back(), written.back());
  EXPECT_EQ(hostdouble::value(f, "kvslider.slider1.mixer.set:"), "true");

  hostdouble::clearCalls();
  writeSettings(slider(), kFile);
  EXPECT_EQ(hostdouble::callsNamed("WriteString").size(), 3u);  // the other kinds' only
  EXPECT_EQ(hostdouble::value(f, "kvslider.slider1.mixer.set:"), "false");
  EXPECT_EQ(hostdouble::value(f, "kvslider.slider1.mixer.device"), "2");
}

TEST_F(SettingsFile, WhatIsWrittenReadsBackTheSame) {
  slider().x = 321;
  slider().y = -12;
  slider().width = 150;
  slider().height = 20;
  slider().margin = 1;
  slider().knobHeight = 12;
  slider().knobWidth = 6;
  slider().trackHeight = 4;
  slider().transparent = true;
  slider().alwaysOnTop = false;
  slider().snapWindow = false;
  slider().toggleWithPlugins = true;
  slider().draggable = false;
  slider().alpha = 35;
  slider().wheelStep = 25;
  writeSettings(slider(), kFile);

  const Slider& written = slider();
  Slider& again = *addSlider(2);
  lstrcpyA(again.name, written.name);  // the same keys
  MessageBoxCapture boxes;
  readSettings(again, kFile);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(again.x, written.x);
  EXPECT_EQ(again.y, written.y);
  EXPECT_EQ(again.width, written.width);
  EXPECT_EQ(again.height, written.height);
  EXPECT_EQ(again.margin, written.margin);
  EXPECT_EQ(again.knobHeight, written.knobHeight);
  EXPECT_EQ(again.knobWidth, written.knobWidth);
  EXPECT_EQ(again.trackHeight, written.trackHeight);
  EXPECT_EQ(again.transparent, written.transparent);
  EXPECT_EQ(again.alwaysOnTop, written.alwaysOnTop);
  EXPECT_EQ(again.snapWindow, written.snapWindow);
  EXPECT_EQ(again.toggleWithPlugins, written.toggleWithPlugins);
  EXPECT_EQ(again.draggable, written.draggable);
  EXPECT_EQ(again.alpha, written.alpha);
  EXPECT_EQ(again.wheelStep, written.wheelStep);
}

TEST_F(SettingsFile, NothingIsWrittenWithoutAPath) {
  writeSettings(slider(), "");
  EXPECT_TRUE(hostdouble::calls().empty());
}

}  // namespace
