// Several sliders in one plug-in: the list in the settings file, commands
// routed to the slider they name, new and removed sliders, and two sliders on
// one volume following each other.
#include "commands/config_menu.h"
#include "host/host_messages.h"
#include "mixer/volume_messages.h"
#include "slider/placement.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000;
constexpr DWORD kVolume = 0;

class Sliders : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    mixerdouble::Line line;
    line.id = kLine;
    line.name = "Master Volume";
    line.controls = {{kVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 32768, false}};
    mixerdouble::addDevice({"Device", {line}, 0});
  }

  // Starts with the settings file listing these sliders (none: no list key).
  void startWith(const char* list, int x = 100, int y = 200) {
    ASSERT_EQ(start(), 0);
    file_ = settingsPath;
    stop();
    if (list != nullptr) hostdouble::setValue(file_, "kvslider.sliders:", list);
    hostdouble::setValue(file_, "kvslider.slider1.x:", std::to_string(x));
    hostdouble::setValue(file_, "kvslider.slider1.y:", std::to_string(y));
    ASSERT_EQ(start(), 0);
    pumpMessages();
  }

  // As the host delivers a command: to every registered window, from a copy.
  static void broadcast(const std::string& text) {
    std::vector<HWND> windows;
    for (int i = 0; Slider* s = sliderAt(i); ++i) windows.push_back(s->window);
    for (HWND w : windows)
      if (IsWindow(w)) SendMessageA(w, HostMsgCommand, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  static void command(const std::string& tail) { broadcast("@KvSliderConfigure-" + tail); }

  std::string stored(const std::string& key) const { return hostdouble::value(file_, key); }

  std::string file_;
};

TEST_F(Sliders, CommandsGoToTheSliderTheyNameAndToAnyWhenThereIsOne) {
  startWith(nullptr);  // a file from before: one slider, slider1, as ever
  ASSERT_EQ(sliderCount(), 1);
  EXPECT_STREQ(slider().name, "slider1");
  MessageBoxCapture boxes;
  command("ontoptoggle-slider7");  // alone, a slider answers whatever is named
  EXPECT_FALSE(slider().alwaysOnTop);
  stop();
  EXPECT_EQ(stored("kvslider.sliders:"), "slider1");

  startWith("slider1 slider3 bogus slider3");
  ASSERT_EQ(sliderCount(), 2);
  Slider& first = *sliderAt(0);
  Slider& third = *sliderAt(1);
  EXPECT_STREQ(third.name, "slider3");
  ASSERT_TRUE(third.alwaysOnTop);
  const bool firstOnTop = first.alwaysOnTop;
  command("ontoptoggle-slider3");
  EXPECT_EQ(first.alwaysOnTop, firstOnTop);
  EXPECT_FALSE(third.alwaysOnTop);
  // Naming no slider, or none that exists (a hotkey of one removed): nobody, no box.
  command("ontoptoggle");
  command("ontoptoggle-slider2");
  command("alpha");
  EXPECT_EQ(first.alwaysOnTop, firstOnTop);
  EXPECT_FALSE(third.alwaysOnTop);
  EXPECT_TRUE(boxes.boxes().empty());
  command("bogus-slider3");
  command("volume-slider1-x");
  EXPECT_EQ(boxes.boxes().size(), 2u);  // once per command, whoever received it
  broadcast("@KvHidePlugins");
  EXPECT_TRUE(first.pluginsHidden && third.pluginsHidden);
  stop();
  EXPECT_EQ(stored("kvslider.sliders:"), "slider1 slider3");
}

TEST_F(Sliders, NewSliderGoesBelowOrAboveLikeItsSourceAndRemovedOnesGoAtOnce) {
  startWith(nullptr, 100, 200);
  slider().width = 150;
  slider().alpha = 60;
  slider().transparent = true;
  bindControl(slider(), 0, kLine, kVolume);
  command("newslider-slider1");
  ASSERT_EQ(sliderCount(), 2);
  Slider& made = *sliderAt(1);
  EXPECT_STREQ(made.name, "slider2");
  EXPECT_EQ(made.x, 100);
  EXPECT_EQ(made.y, 200 + 24 + 4);
  EXPECT_EQ(made.width, 150);
  EXPECT_EQ(made.alpha, 60);
  EXPECT_EQ(made.binding.kind, BindingKind::None);
  EXPECT_TRUE(IsWindowVisible(made.window));
  // Written at once, over whatever an older slider2 left in the file.
  EXPECT_EQ(stored("kvslider.sliders:"), "slider1 slider2");
  EXPECT_EQ(stored("kvslider.slider2.y:"), "228");
  EXPECT_EQ(stored("kvslider.slider2.mixer.set:"), "false");

  // Where below touches no monitor, above.
  setMonitorLookup([](const RECT& r, DWORD, RECT& monitor) {
    monitor = {0, 0, 1024, 250};
    return r.bottom <= 250;
  });
  command("newslider-slider2");
  setMonitorLookup(nullptr);
  ASSERT_EQ(sliderCount(), 3);
  EXPECT_EQ(sliderAt(2)->y, 228 - 24 - 4);

  // Removed from its own menu's command: its binding, window and place in the list go.
  bindControl(*sliderAt(2), 0, kLine, kVolume);
  HWND removed = sliderAt(2)->window;
  command("removeslider-slider3");
  EXPECT_FALSE(IsWindow(removed));
  EXPECT_EQ(sliderCount(), 2);
  EXPECT_EQ(mixerdouble::openHandles(), 1);
  EXPECT_EQ(stored("kvslider.sliders:"), "slider1 slider2");
  command("removeslider-slider1");
  command("newslider-slider2");  // the lowest number free
  EXPECT_EQ(stored("kvslider.sliders:"), "slider2 slider1");
  command("removeslider-slider1");
  command("removeslider-slider2");  // the last one stays
  EXPECT_EQ(sliderCount(), 1);

  // Sixteen at most: no item, and the command does nothing.
  for (int n = 0; n < 20; ++n) command("newslider-slider2");
  EXPECT_EQ(sliderCount(), 16);
  SendMessageA(slider().window, WM_NCRBUTTONUP, HTCAPTION, 0);
  const std::string menu = hostdouble::menuTree(hostdouble::lastShownMenu());
  EXPECT_EQ(menu.find("New slider"), std::string::npos);
  EXPECT_NE(menu.find("Remove this slider -> @KvSliderConfigure-removeslider-slider2"),
            std::string::npos);
}

TEST_F(Sliders, TwoSlidersOnOneVolumeFollowEachOtherButNotTheirOwnEchoes) {
  startWith("slider1 slider2");
  Slider& a = *sliderAt(0);
  Slider& b = *sliderAt(1);
  bindControl(a, 0, kLine, kVolume);
  bindControl(b, 0, kLine, kVolume);
  a.value = 0.25;
  a.writeLevel();
  EXPECT_EQ(deliverMixerNotifications(b.window), 1);
  EXPECT_NEAR(b.value, 0.25, 1e-4);

  endpointdouble::reset(true);
  endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.5f});
  endpointdouble::switchDefault(0);
  command("endpoint-slider1-0");
  command("endpoint-slider2-1");
  a.value = 0.75;
  a.writeLevel();  // the fake calls back from its own thread, and returns once it has
  EXPECT_EQ(deliverMixerNotifications(a.window, kMsgEndpointVolume), 0);
  EXPECT_EQ(deliverMixerNotifications(b.window, kMsgEndpointVolume), 1);
  EXPECT_DOUBLE_EQ(b.value, 0.75);
  command("mutetoggle-slider2");
  EXPECT_EQ(deliverMixerNotifications(a.window, kMsgEndpointVolume), 1);
  EXPECT_TRUE(a.levelMuted());
  stop();
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

}  // namespace
