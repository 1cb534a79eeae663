// Command strings as the host delivers them: broadcasts, configuration
// commands, and the box for malformed ones.
#include <string>

#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr char kInvalid[] = "@KvSliderConfigure was called with invalid arguements.";
constexpr DWORD kHighLine = 4294901760u;  // printed with %u it needs all 32 bits
constexpr DWORD kHighControl = 3000000000u;

constexpr DWORD kMute = 8;

// Two devices; the second has a line and a control with the top bit set, and no mute.
void addDevices() {
  for (DWORD control : {DWORD{7}, kHighControl}) {
    mixerdouble::Line line;
    line.id = control == 7 ? 0 : kHighLine;
    line.controls = {{control, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 65535, false}};
    if (control == 7) line.controls.push_back({kMute, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0});
    mixerdouble::Device device;
    device.destinations = {line};
    mixerdouble::addDevice(device);
  }
}

class Commands : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    addDevices();
    ASSERT_EQ(start(), 0);
    settle();
  }

  // Lets the window finish its start-up painting and placement, so that a
  // later repaint request or move can be told apart.
  void settle() {
    pumpMessages();
    ValidateRect(slider().window, nullptr);
  }

  bool repaintRequested() const { return GetUpdateRect(slider().window, nullptr, FALSE) != 0; }

  POINT windowPlace() const {
    RECT r;
    GetWindowRect(slider().window, &r);
    return {r.left, r.top};
  }

  // Moves the slider's idea of its place; a re-apply of the window state moves
  // the window there, a command without one leaves it where it was.
  POINT expectApplyAt() {
    const POINT now = windowPlace();
    slider().x = now.x + 37;
    slider().y = now.y + 11;
    return {slider().x, slider().y};
  }
};

bool samePlace(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

TEST_F(Commands, BroadcastsAreMatchedWholeWithoutRegardToCase) {
  struct Case {
    const char* text;
    bool hidden;
  };
  const Case cases[] = {
      {"@KvHidePlugins", true},  {"@KvShowPlugins", false}, {"@kvhideplugins", true},
      {"@KVSHOWPLUGINS", false}, {"@KVHIDEPLUGINS", true},  {"@kvshowplugins", false},
  };
  MessageBoxCapture boxes;
  for (const Case& c : cases) {
    slider().pluginsHidden = !c.hidden;
    const POINT target = expectApplyAt();
    handleCommand(slider(), c.text);
    EXPECT_EQ(slider().pluginsHidden, c.hidden) << c.text;
    EXPECT_TRUE(samePlace(windowPlace(), target)) << c.text << ": window state not re-applied";
    EXPECT_TRUE(slider().alwaysOnTop);
    EXPECT_FALSE(slider().transparent);
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, UnknownTextsAreIgnoredSilently) {
  const char* texts[] = {
      "@kvsliderconfigure-ontoptoggle-slider1",  // the prefix is case-sensitive
      "@KvSliderConfigur-ontoptoggle-slider1",
      "@KvShowPlugins ",
      "@KvHidePlugins-slider1",
      "KvShowPlugins",
      "",
      "-@KvSliderConfigure-ontoptoggle-slider1",
  };
  MessageBoxCapture boxes;
  const POINT before = windowPlace();
  for (const char* text : texts) {
    expectApplyAt();
    handleCommand(slider(), text);
    EXPECT_TRUE(samePlace(windowPlace(), before)) << text;
    EXPECT_TRUE(slider().alwaysOnTop) << text;
    EXPECT_FALSE(slider().pluginsHidden) << text;
  }
  handleCommand(slider(), nullptr);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, MalformedConfigurationCommandsShowTheBoxAndChangeNothing) {
  const char* texts[] = {
      "@KvSliderConfigure",
      "@KvSliderConfigure-",
      "@KvSliderConfigure---",
      "@KvSliderConfigure-Alpha-slider1-50",  // keywords are case-sensitive
      "@KvSliderConfigure-alpha-slider1",     // no value
      "@KvSliderConfigure-alpha",
      "@KvSliderConfigure-mixer-slider1-1-2",  // only two numbers
      "@KvSliderConfigure-mixer",
      "@KvSliderConfigure-volume-slider1",  // no value
      "@KvSliderConfigure-volumeUp-slider1",
      "@KvSliderConfigure-ontoptoggles-slider1",
      "@KvSliderConfigure-ontoptoggle_-slider1",
      "@KvSliderConfigureontoptoggle",  // a prefix with letters attached is still one token
  };
  slider().alpha = 40;
  slider().transparent = true;
  for (const char* text : texts) {
    MessageBoxCapture boxes;
    const POINT before = windowPlace();
    expectApplyAt();
    handleCommand(slider(), text);
    ASSERT_EQ(boxes.boxes().size(), 1u) << text;
    const CapturedBox& box = boxes.boxes()[0];
    EXPECT_EQ(box.text, kInvalid) << text;
    EXPECT_EQ(box.caption, "Error") << text;  // the system's default caption
    EXPECT_EQ(box.owner, nullptr) << text;
    EXPECT_TRUE(box.topmost) << text;
    EXPECT_TRUE(box.errorIcon) << text;

    EXPECT_EQ(slider().alpha, 40) << text;
    EXPECT_TRUE(slider().transparent) << text;
    EXPECT_FALSE(slider().pluginsHidden) << text;
    EXPECT_TRUE(slider().alwaysOnTop) << text;
    EXPECT_TRUE(samePlace(windowPlace(), before)) << text;
  }
  EXPECT_EQ(mixerdouble::opens(), 0);
}

TEST_F(Commands, AlphaClampsAndSetsVisibility) {
  struct Case {
    const char* command;
    int alpha;
    bool hidden;
    bool transparent;
  };
  const Case cases[] = {
      {"@KvSliderConfigure-alpha-slider1-50", 50, false, true},
      {"@KvSliderConfigure-alpha-slider1-100", 100, false, false},
      {"@KvSliderConfigure-alpha-slider1-1", 1, false, true},
      {"@KvSliderConfigure-alpha-slider1-99", 99, false, true},
      {"@KvSliderConfigure-alpha-slider1-0", 0, true, false},
      {"@KvSliderConfigure-alpha-slider1-150", 100, false, false},
      {"@KvSliderConfigure-alpha-slider1--5", 5, false, true},  // "-" only separates
      {"@KvSliderConfigure-alpha-slider1-abc", 0, true, false},
      {"@KvSliderConfigure-alpha-slider1-3000000000", 0, true, false},   // wraps negative
      {"@KvSliderConfigure-alpha-slider1-4294967346", 50, false, true},  // 2^32 + 50
      {"@KvSliderConfigure-alpha-slider1-+30", 30, false, true},
      {"@KvSliderConfigure-alpha-slider1- 42x", 42, false, true},
      {"@KvSliderConfigure-alpha-x-60-extra-tokens-ignored", 60, false, true},
      {"@KvSliderConfigureXYZ--alpha--other--70--", 70, false, true},
  };
  MessageBoxCapture boxes;
  for (const Case& c : cases) {
    for (bool before : {false, true}) {  // every field is written, whatever it was
      slider().pluginsHidden = before;
      slider().transparent = before;
      slider().alpha = 77;
      const POINT target = expectApplyAt();
      handleCommand(slider(), c.command);
      EXPECT_EQ(slider().alpha, c.alpha) << c.command;
      EXPECT_EQ(slider().pluginsHidden, c.hidden) << c.command;
      EXPECT_EQ(slider().transparent, c.transparent) << c.command;
      if (!slider().pluginsHidden) {
        EXPECT_TRUE(samePlace(windowPlace(), target)) << c.command << ": not re-applied";
      }
    }
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, TogglesFlipTheirOptionAndReapplyTheWindow) {
  struct Case {
    const char* command;
    bool Slider::*flag;
  };
  const Case cases[] = {
      {"@KvSliderConfigure-ontoptoggle-slider1", &Slider::alwaysOnTop},
      {"@KvSliderConfigure-plugintoggle-slider1", &Slider::toggleWithPlugins},
      {"@KvSliderConfigure-snaptoggle-slider1", &Slider::snapWindow},
      {"@KvSliderConfigure--snaptoggle", &Slider::snapWindow},  // instance not needed
      {"@KvSliderConfigure--ontoptoggle----slider1--", &Slider::alwaysOnTop},
  };
  MessageBoxCapture boxes;
  for (const Case& c : cases) {
    const bool start = slider().*c.flag;
    for (int i = 1; i <= 2; ++i) {
      const POINT target = expectApplyAt();
      settle();
      handleCommand(slider(), c.command);
      EXPECT_EQ(slider().*c.flag, i == 1 ? !start : start) << c.command;
      EXPECT_TRUE(samePlace(windowPlace(), target)) << c.command << ": not re-applied";
      EXPECT_TRUE(repaintRequested()) << c.command;
    }
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, AlwaysOnTopToggleMovesTheWindowBetweenBands) {
  slider().alwaysOnTop = false;
  handleCommand(slider(), "@KvSliderConfigure-ontoptoggle-slider1");
  EXPECT_TRUE(GetWindowLongA(slider().window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  handleCommand(slider(), "@KvSliderConfigure-ontoptoggle-slider1");
  EXPECT_FALSE(GetWindowLongA(slider().window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Commands, DragToggleNeitherReappliesNorRepaints) {
  const POINT before = windowPlace();
  const bool start = slider().draggable;
  for (bool expected : {!start, start}) {
    expectApplyAt();
    settle();
    handleCommand(slider(), "@KvSliderConfigure-dragtoggle-slider1");
    EXPECT_EQ(slider().draggable, expected);
    EXPECT_TRUE(samePlace(windowPlace(), before));
    EXPECT_FALSE(repaintRequested());
  }
}

TEST_F(Commands, MixerBindsWithItsThreeNumbersAndIgnoresFurtherTokens) {
  MessageBoxCapture boxes;
  handleCommand(slider(), "@KvSliderConfigure-mixer-slider1-1-4294901760-3000000000-extra");
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.deviceId, 1u);
  EXPECT_EQ(slider().binding.winmm.lineId, kHighLine);
  EXPECT_EQ(slider().binding.winmm.controlId, kHighControl);
  EXPECT_DOUBLE_EQ(slider().value, 1.0);

  handleCommand(slider(), "@KvSliderConfigure--mixer--slider1--0--0--7");
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(slider().binding.winmm.deviceId, 0u);
  EXPECT_EQ(slider().binding.winmm.controlId, 7u);
  EXPECT_EQ(mixerdouble::openHandles(), 1);  // the first device was let go
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, NomixerUnbindsWhateverTheFirstAndThirdTokensSay) {
  const char* texts[] = {
      "@KvSliderConfigure-nomixer-slider1",
      "@KvSliderConfigure-nomixer",
      "@KvSliderConfigureXYZ-nomixer-slider7",
  };
  MessageBoxCapture boxes;
  for (const char* text : texts) {
    handleCommand(slider(), "@KvSliderConfigure-mixer-slider1-0-0-7");
    ASSERT_TRUE(mixerBound(slider()));
    settle();
    handleCommand(slider(), text);
    EXPECT_FALSE(mixerBound(slider())) << text;
    EXPECT_EQ(mixerdouble::openHandles(), 0) << text;
    EXPECT_TRUE(repaintRequested()) << text;
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Commands, VolumeCommandsSetStepAndMuteLikeADragWithinItsEnds) {
  MessageBoxCapture boxes;
  // Unbound: a hotkey pressed at the wrong moment does nothing and says nothing.
  for (const char* text :
       {"@KvSliderConfigure-volume-slider1-40", "@KvSliderConfigure-volumeup-slider1",
        "@KvSliderConfigure-volumedown-slider1-5", "@KvSliderConfigure-mutetoggle-slider1"}) {
    settle();
    handleCommand(slider(), text);
    EXPECT_DOUBLE_EQ(slider().value, 0.5) << text;
    EXPECT_FALSE(repaintRequested()) << text;
  }
  EXPECT_EQ(mixerdouble::opens(), 0);

  handleCommand(slider(), "@KvSliderConfigure-mixer-slider1-0-0-7");
  constexpr DWORD kRefused = ~0u;  // the invalid-arguments box, and no write
  const struct {
    const char* command;
    int wheelStep;
    DWORD raw;  // truncated level x 65535
  } steps[] = {
      {"@KvSliderConfigure-volume-slider1-40", 2, 26214},
      {"@KvSliderConfigure-volumeup-slider1", 2, 27524},       // the wheel step: 42%
      {"@KvSliderConfigure-volumedown-slider1-10", 2, 20970},  // from the value read back
      {"@KvSliderConfigure-volumedown", 5, 17693},             // no instance either: 27%
      {"@KvSliderConfigure-volume-slider1-150", 2, 65535},
      {"@KvSliderConfigure-volume-slider1-50", 2, 32767},
      // Only plain digits count, and large numbers clamp instead of wrapping.
      {"@KvSliderConfigure-volume-slider1-abc", 2, kRefused},
      {"@KvSliderConfigure-volume-slider1-1e9", 2, kRefused},
      {"@KvSliderConfigure-volume-slider1--30", 2, kRefused},
      {"@KvSliderConfigure-volume-slider1-75abc", 2, kRefused},
      {"@KvSliderConfigure-volumeup-slider1-+100", 2, kRefused},
      {"@KvSliderConfigure-volumeup-slider1- 5", 2, kRefused},
      {"@KvSliderConfigure-volume-slider1-4294967346", 2, 65535},
      {"@KvSliderConfigure-volumedown-slider1-4294967295", 2, 0},
      {"@KvSliderConfigure-volumeup-slider1-3000000000", 2, 65535},
      {"@KvSliderConfigure-volume-slider1-00000000000000000000000000001", 2, 655},
      {"@KvSliderConfigure-volumedown-slider1-0-ignored", 2, 655},
  };
  for (const auto& step : steps) {
    slider().wheelStep = step.wheelStep;
    settle();
    const size_t before = mixerdouble::sets().size();
    const double level = slider().value;
    const size_t boxesBefore = boxes.boxes().size();
    handleCommand(slider(), step.command);
    const size_t shown = boxes.boxes().size() - boxesBefore;
    if (step.raw == kRefused) {
      EXPECT_EQ(shown, 1u) << step.command;
      EXPECT_EQ(mixerdouble::sets().size(), before) << step.command;
      EXPECT_EQ(slider().value, level) << step.command;
      continue;
    }
    EXPECT_EQ(shown, 0u) << step.command;
    ASSERT_EQ(mixerdouble::sets().size(), before + 1) << step.command;  // one write each
    EXPECT_EQ(mixerdouble::sets().back().raw, step.raw) << step.command;
    EXPECT_EQ(slider().knobPos, static_cast<int>(slider().value * slider().travel() + 0.5));
    EXPECT_TRUE(repaintRequested()) << step.command;
  }

  // A set the device refuses: the knob shows what the device kept.
  settle();
  mixerdouble::fail(mixerdouble::Op::SetDetails);
  handleCommand(slider(), "@KvSliderConfigure-volume-slider1-60");
  EXPECT_EQ(slider().knobPos, 2);  // 1% on a travel of 184
  mixerdouble::clearFailures();

  // The mute of the control's line, toggled; a line without one: nothing, no box.
  settle();
  handleCommand(slider(), "@KvSliderConfigure-mutetoggle-slider1");
  EXPECT_EQ(mixerdouble::raw(0, kMute), 1u);
  EXPECT_TRUE(repaintRequested());
  handleCommand(slider(), "@KvSliderConfigure-mutetoggle");
  EXPECT_EQ(mixerdouble::raw(0, kMute), 0u);
  handleCommand(slider(), "@KvSliderConfigure-mixer-slider1-1-4294901760-3000000000");
  const size_t sets = mixerdouble::sets().size();
  handleCommand(slider(), "@KvSliderConfigure-mutetoggle-slider1");
  EXPECT_EQ(mixerdouble::sets().size(), sets);
  EXPECT_EQ(boxes.boxes().size(), 6u);  // the refused steps' only
}

TEST_F(Commands, OnlyTheFirst255CharactersCount) {
  // The value's first digit is character 255, its second character 256.
  std::string text = "@KvSliderConfigure-alpha-slider1-";
  text += std::string(254 - text.size(), '-') + "7" + "5" + std::string(44, '0');
  ASSERT_EQ(text.size(), 300u);
  const std::string sent = text;
  MessageBoxCapture boxes;
  handleCommand(slider(), text.c_str());
  EXPECT_EQ(slider().alpha, 7);
  EXPECT_TRUE(slider().transparent);
  EXPECT_EQ(text, sent);  // the host's text is left as it was
  EXPECT_TRUE(boxes.boxes().empty());

  // A keyword pushed past character 255 is not seen.
  std::string late = "@KvSliderConfigure" + std::string(250, '-') + "ontoptoggle";
  handleCommand(slider(), late.c_str());
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, kInvalid);
  EXPECT_TRUE(slider().alwaysOnTop);
}

}  // namespace
