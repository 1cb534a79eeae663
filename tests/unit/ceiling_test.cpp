// A ceiling holds every kind of volume from every direction: the slider's own
// writes stop at it, and a level set elsewhere above it comes down at once,
// with one write of the slider's own that its echo leaves alone.
#include <string>

#include "host/host_messages.h"
#include "mixer/volume_messages.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000, kVolume = 0;
constexpr DWORD kPlayer = 0x7FFF0701;
constexpr DWORD kHalf = 32767;  // 0.5 on the mixer's scale, truncated

endpointdouble::Session player(DWORD process, float level) {
  endpointdouble::Session s;
  s.processId = process;
  s.identifier = L"{0.0.0.00000000}.{e1}|\\Device\\HarddiskVolume3\\player.exe%b{0}";
  s.level = level;
  return s;
}

// Speakers (the default, 0.9) and Headset (1.0); a player at 0.9; a mixer
// control at its top. The ceiling is 50% from the start.
class Ceiling : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184: 50% is knob position 92
    endpointdouble::reset(true);
    endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.9f});
    endpointdouble::addEndpoint({L"{headset}", L"Headset", 1.0f});
    endpointdouble::switchDefault(0);
    session_ = endpointdouble::addSession(0, player(kPlayer, 0.9f));
    mixerdouble::Line line;
    line.id = kLine;
    line.controls = {{kVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 65535, false}};
    mixerdouble::addDevice({"Device", {line}, 0});
    ASSERT_EQ(start(), 0);
    slider().draggable = false;
    pumpMessages();
    command("ceiling-slider1-50");
  }
  static void command(const std::string& tail) {
    handleCommand(slider(), ("@KvSliderConfigure-" + tail).c_str());
  }
  static int deliver(UINT message) { return deliverMixerNotifications(slider().window, message); }
  static void dragFarRight() {
    slider().computeLayout();
    SendMessageA(slider().window, WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(slider().x + 20, slider().y + 12));
    SendMessageA(slider().window, WM_MOUSEMOVE, 0, MAKELPARAM(500, 12));
    SendMessageA(slider().window, WM_LBUTTONUP, 0, MAKELPARAM(500, 12));
  }
  size_t session_ = 0;
};

TEST_F(Ceiling, TheSlidersOwnWritesStopAtItOnEveryKind) {
  bindControl(slider(), 0, kLine, kVolume);  // at its top: brought down as it is bound
  EXPECT_EQ(mixerdouble::raw(0, kVolume), kHalf);
  command("volume-slider1-80");
  EXPECT_EQ(mixerdouble::raw(0, kVolume), kHalf);
  command("volume-slider1-20");
  dragFarRight();
  EXPECT_EQ(slider().knobPos, 92);  // the knob stops there
  EXPECT_EQ(mixerdouble::raw(0, kVolume), kHalf);
  SendMessageA(slider().window, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
  EXPECT_EQ(mixerdouble::raw(0, kVolume), kHalf);

  command("endpoint-slider1-2");
  EXPECT_EQ(endpointdouble::level(1), 0.5f);
  command("app-slider1-" + std::to_string(kPlayer));  // takes the player's level, held below
  EXPECT_EQ(endpointdouble::sessionLevel(session_), 0.5f);
  command("ceiling-slider1-30");  // a lower ceiling brings the level down at once
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(session_), 0.3f);
  command("ceiling-slider1-250");  // above 100 is none at all
  command("volume-slider1-90");
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(session_), 0.9f);

  MessageBoxCapture boxes;
  for (const char* refused : {"ceiling-slider1-0", "ceiling-slider1-x", "ceiling-slider1"})
    command(refused);
  EXPECT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(slider().ceiling, 100);
}

TEST_F(Ceiling, ALevelSetElsewhereAboveItComesDownWithOneWrite) {
  command("endpoint-slider1-0");
  EXPECT_EQ(endpointdouble::level(0), 0.5f);
  endpointdouble::changeElsewhere(0, 1.0f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  EXPECT_EQ(endpointdouble::level(0), 0.5f);
  EXPECT_EQ(slider().knobPos, 92);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);  // its own write is no news
  endpointdouble::switchDefault(1);           // a default at 1.0
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(endpointdouble::level(1), 0.5f);

  bindControl(slider(), 0, kLine, kVolume);
  deliver(MM_MIXM_CONTROL_CHANGE);  // the driver's word of the write the bind made
  const size_t sets = mixerdouble::sets().size();
  mixerdouble::changeControl(0, kVolume, 60000);
  EXPECT_GE(deliver(MM_MIXM_CONTROL_CHANGE), 2);  // the change, and the driver's word of...
  EXPECT_EQ(mixerdouble::raw(0, kVolume), kHalf);
  EXPECT_EQ(mixerdouble::sets().size(), sets + 1);  // ...the one write, which changes nothing
  mixerdouble::changeControl(0, kVolume, 1000);     // below it, followed as ever
  deliver(MM_MIXM_CONTROL_CHANGE);
  EXPECT_EQ(slider().knobPos, 3);

  command("app-slider1-" + std::to_string(kPlayer));
  endpointdouble::changeSessionElsewhere(session_, 0.95f, false);
  EXPECT_EQ(deliver(kMsgAppVolume), 1);
  EXPECT_EQ(endpointdouble::sessionLevel(session_), 0.5f);
  EXPECT_EQ(deliver(kMsgAppVolume), 0);
  const size_t started = endpointdouble::createSession(1, player(0x7FFF0702, 1.0f));
  deliver(kMsgAppSessions);
  EXPECT_EQ(endpointdouble::sessionLevel(started), 0.5f);
}

// A ceiling only ever lowers: two sliders on one volume settle on the lower
// one, and then nothing more happens.
TEST_F(Ceiling, TwoSlidersOnOneVolumeSettleOnTheLowerCeilingWithoutALoop) {
  sendCommand(slider(), "@KvSliderConfigure-newslider-slider1");
  ASSERT_EQ(sliderCount(), 2);
  Slider& low = *sliderAt(1);
  handleCommand(low, "@KvSliderConfigure-ceiling-slider2-40");
  command("endpoint-slider1-2");
  handleCommand(low, "@KvSliderConfigure-endpoint-slider2-2");
  pumpMessages();
  command("volume-slider1-45");
  pumpMessages();
  EXPECT_FLOAT_EQ(endpointdouble::level(1), 0.4f);
  EXPECT_NEAR(slider().level(), 0.4, 1e-6);
  EXPECT_NEAR(low.level(), 0.4, 1e-6);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);
  EXPECT_EQ(deliverMixerNotifications(low.window, kMsgEndpointVolume), 0);
}

}  // namespace
