// Binding the slider to an audio endpoint, through the fake device enumerator
// and through wine's own Core Audio: commands, menu, notifications from the
// system's threads, refused sets, the default moving, endpoints leaving and
// returning, the settings key and the COM apartment.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "commands/config_menu.h"
#include "host/host_messages.h"
#include "mixer/binding.h"
#include "mixer/endpoint_device.h"
#include "mixer/volume_messages.h"
#include "plugin/sliders.h"
#include "slider/tooltip.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

using endpointdouble::Op;
using Texts = std::vector<std::string>;

constexpr char kNoEndpoint[] = "HostMsgStatusText(Unable to open audio endpoint.)";
constexpr char kNotSet[] = "HostMsgStatusText(Unable to set the volume.)";
constexpr char kEndpointKey[] = "kvslider.slider1.endpoint:";

// Listed as 1 Speakers (the default, 0.5) and 2 Headset (0.25); HDMI is disabled.
class EndpointBinding : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184
    endpointdouble::reset(true);
    endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.5f});
    endpointdouble::addEndpoint({L"{hdmi}", L"HDMI", 1.0f, false, DEVICE_STATE_DISABLED});
    endpointdouble::addEndpoint({L"{headset}", L"Headset", 0.25f});
    endpointdouble::switchDefault(0);
    mixerdouble::Line line;
    line.id = 0xFFFF0000u;
    line.controls = {{0, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 65535, false}};
    mixerdouble::addDevice({"Device", {line}, 0});
  }
  void startClean() {
    ASSERT_EQ(start(), 0);
    pumpMessages();
  }
  static void command(const std::string& tail) {
    handleCommand(slider(), ("@KvSliderConfigure-" + tail).c_str());
  }
  static int deliver(UINT message) { return deliverMixerNotifications(slider().window, message); }
  static Texts statuses() { return hostdouble::callsNamed("HostMsgStatusText"); }
  static std::string name() { return slider().levelName(); }
  static size_t gradientsPainted() {
    return gradientsOfARepaint(slider().window).size();  // 3 with a knob
  }
  // A press on the track at knob position 46 (value 0.25), moves, the release.
  static void drag(int moves) {
    slider().computeLayout();
    SendMessageA(slider().window, WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(slider().x + 54, slider().y + 12));
    for (int i = 0; i < moves; ++i)
      SendMessageA(slider().window, WM_MOUSEMOVE, 0, MAKELPARAM(60 + i, 12));
    SendMessageA(slider().window, WM_LBUTTONUP, 0, MAKELPARAM(60, 12));
  }
};

TEST_F(EndpointBinding, CommandsBindTheDefaultOrTheNthEndpointAndEndAnyOtherBinding) {
  startClean();
  command("endpoint-slider1-2");
  EXPECT_EQ(slider().knobPos, 46);
  EXPECT_EQ(name(), "Headset");
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 2);  // its volume, and the system's devices
  command("volume-slider1-60");
  EXPECT_EQ(endpointdouble::level(2), 0.6f);
  command("mixer-slider1-0-4294901760-0");
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
  command("endpoint-slider1-0");
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(name(), "Speakers");
  EXPECT_EQ(slider().knobPos, 92);

  // No third active endpoint; one that cannot be activated or read: reported, unbound.
  ValidateRect(slider().window, nullptr);
  command("endpoint-slider1-3");
  EXPECT_FALSE(volumeBound(slider().binding));
  EXPECT_TRUE(repaintPending(slider().window));
  endpointdouble::fail(Op::Activate, E_FAIL);
  command("endpoint-slider1-1");
  endpointdouble::fail(Op::Activate, S_OK);
  endpointdouble::fail(Op::GetLevel, E_FAIL);
  command("endpoint-slider1-0");
  endpointdouble::fail(Op::GetLevel, S_OK);
  EXPECT_FALSE(volumeBound(slider().binding));
  EXPECT_EQ(statuses(), (Texts{kNoEndpoint, kNoEndpoint, kNoEndpoint}));
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);

  // A number that is not plain digits is refused, and the binding stays.
  MessageBoxCapture boxes;
  command("endpoint-slider1-2");
  for (const char* text :
       {"endpoint-slider1", "endpoint-slider1-xyz", "endpoint-slider1--1", "endpoint-slider1-2x"})
    command(text);
  EXPECT_EQ(boxes.boxes().size(), 4u);
  EXPECT_EQ(name(), "Headset");
  command("endpoint-slider1-99999999999999999999");  // no such endpoint, and no wrap-around
  EXPECT_FALSE(volumeBound(slider().binding));
  command("endpoint-slider1-1");
  command("nomixer-slider1");
  EXPECT_FALSE(volumeBound(slider().binding));
  command("endpoint-slider1-1");
  stop();
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

TEST_F(EndpointBinding, MenuListsTheActiveEndpointsFirstWhateverTheirNames) {
  endpointdouble::addEndpoint({L"{long}", std::wstring(254, L'a') + L"\U0001F3A7", 0.5f});
  endpointdouble::addEndpoint({L"{odd}", L"Tab\there \u00e9\u4e2d", 0.5f});
  endpointdouble::addEndpoint({L"{nameless}", L"", 0.5f});
  char odd[64] = "";  // what the ANSI code page makes of it
  WideCharToMultiByte(CP_ACP, 0, L"Tab here \u00e9\u4e2d", -1, odd, sizeof odd, nullptr, nullptr);
  startClean();
  command("endpoint-slider1-2");
  const auto control = [] {
    showConfigMenu(slider());
    const std::string tree = hostdouble::menuTree(configMenu);
    const size_t begin = tree.find("  Control\n");
    return tree.substr(begin, tree.find("    Device\n") - begin);
  };
  const std::string c = "@KvSliderConfigure-endpoint-slider1-";
  const std::string k = "@KvSliderConfigure-comms";
  EXPECT_EQ(control(), "  Control\n    -- Speakers\n    [ ] Default device -> " + c +
                           "0\n    [ ] Default communications device -> " + k +
                           "endpoint-slider1\n    [ ] Speakers -> " + c + "1\n    [x] Headset -> " +
                           c + "2\n    [ ] " + std::string(254, 'a') + " -> " + c + "3\n    [ ] " +
                           odd + " -> " + c + "4\n    [ ] Audio endpoint 5 -> " + c +
                           "5\n    -- \n    -- Microphones\n    [ ] Default microphone -> "
                           "@KvSliderConfigure-microphone-slider1-0\n"
                           "    [ ] Default communications microphone -> " +
                           k +
                           "microphone-slider1\n    -- \n"
                           "    Applications\n      -- (none)\n    -- Mixer devices\n");
  command("endpoint-slider1-0");
  EXPECT_NE(control().find("    [x] Default device"), std::string::npos);
  command("commsendpoint-slider1");
  EXPECT_NE(control().find("    [ ] Default device -> " + c + "0\n    [x] Default communications"),
            std::string::npos);
  // Where the endpoints cannot be listed, or Core Audio is missing, the section is
  // absent, and the mixer devices need no heading.
  endpointdouble::fail(Op::Enumerate, E_FAIL);
  endpointdouble::fail(Op::EnumerateCapture, E_FAIL);
  EXPECT_EQ(control(), "  Control\n");
  endpointdouble::reset(false);
  EXPECT_EQ(control(), "  Control\n");
}

TEST_F(EndpointBinding, FollowsChangesMadeElsewhereButNotItsOwnEchoes) {
  startClean();
  command("endpoint-slider1-2");
  ValidateRect(slider().window, nullptr);
  endpointdouble::changeElsewhere(2, 0.5f, false);
  endpointdouble::changeElsewhere(2, 1.0f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);  // a burst is one message, read once
  EXPECT_EQ(slider().knobPos, 184);
  EXPECT_TRUE(repaintPending(slider().window));
  slider().dragging = true;  // the knob follows the mouse alone
  endpointdouble::changeElsewhere(2, 0.0f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  EXPECT_EQ(slider().knobPos, 184);

  // A mute from elsewhere shows, also during a drag: the knob goes hollow.
  endpointdouble::changeElsewhere(2, 1.0f, true);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  EXPECT_TRUE(slider().levelMuted());
  EXPECT_EQ(gradientsPainted(), 4u);
  slider().dragging = false;

  drag(0);
  EXPECT_EQ(endpointdouble::level(2), 0.25f);
  // The command and a middle click toggle it, with the plug-in's own context.
  bool muted = true;
  command("mutetoggle-slider1");
  EXPECT_TRUE(readVolumeMute(slider().binding, muted) && !muted && !slider().levelMuted());
  SendMessageA(slider().window, WM_NCMBUTTONDOWN, HTCAPTION,
               MAKELPARAM(slider().x + 2, slider().y + 2));
  SendMessageA(slider().window, WM_NCMBUTTONUP, HTCAPTION,
               MAKELPARAM(slider().x + 2, slider().y + 2));
  EXPECT_TRUE(readVolumeMute(slider().binding, muted) && muted && slider().levelMuted());
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);  // its own echoes are never posted
}

TEST_F(EndpointBinding, ARefusedSetIsReportedOncePerBindingAndTheKnobShowsTheDevice) {
  endpointdouble::fail(Op::SetLevel, E_NOTIMPL);  // as wine does
  startClean();
  command("endpoint-slider1-0");
  drag(5);
  EXPECT_EQ(statuses(), Texts{kNotSet});
  EXPECT_EQ(slider().knobPos, 92);
  command("endpoint-slider1-0");
  drag(2);
  EXPECT_EQ(statuses(), (Texts{kNotSet, kNotSet}));
}

TEST_F(EndpointBinding, FollowsTheDefaultAndAnEndpointLeavingAndComingBack) {
  startClean();
  command("endpoint-slider1-0");
  endpointdouble::switchDefault(2);  // every role is told; the console role is followed
  EXPECT_EQ(deliver(kMsgEndpointDevices), 1);
  EXPECT_EQ(name(), "Headset");
  EXPECT_EQ(slider().knobPos, 46);
  endpointdouble::switchDefault(-1);
  deliver(kMsgEndpointDevices);
  EXPECT_FALSE(volumeBound(slider().binding));
  endpointdouble::switchDefault(0);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "Speakers");

  command("endpoint-slider1-2");
  endpointdouble::setState(2, DEVICE_STATE_UNPLUGGED);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(gradientsPainted(), 2u);  // shown unbound
  endpointdouble::changeElsewhere(2, 0.75f, false);
  endpointdouble::setState(2, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(slider().knobPos, 138);
  EXPECT_EQ(gradientsPainted(), 3u);
}

// Calls play and record on a default of their own: a slider may follow it,
// and a switch of one role's default does not move a slider on the other.
TEST_F(EndpointBinding, TheDefaultForCallsIsFollowedApartFromTheConsoleOne) {
  startClean();
  const std::string file = settingsPath;
  command("commsendpoint-slider1");
  EXPECT_EQ(name(), "Speakers");
  endpointdouble::switchDefault(2, eRender, eConsole);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "Speakers");
  endpointdouble::switchDefault(2, eRender, eCommunications);
  EXPECT_EQ(deliver(kMsgEndpointDevices), 1);
  EXPECT_EQ(name(), "Headset");
  EXPECT_EQ(slider().knobPos, 46);
  stop();
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "communications");
  startClean();
  EXPECT_EQ(name(), "Headset");
  command("endpoint-slider1-0");  // the console's default, Headset too by now
  endpointdouble::switchDefault(0, eRender, eCommunications);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "Headset");

  endpointdouble::addEndpoint({L"{mic}", L"Mic", 0.4f, false, DEVICE_STATE_ACTIVE, eCapture});
  endpointdouble::switchDefault(3, eCapture, eCommunications);
  command("commsmicrophone-slider1");
  EXPECT_EQ(name(), "Mic");
  stop();
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.microphone:"), "communications");
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "");
}

TEST_F(EndpointBinding, TheStoredEndpointWinsOverTheMixerControlAndIsKeptWhileAbsent) {
  ASSERT_EQ(start(), 0);
  const std::string file = settingsPath;
  stop();
  hostdouble::setValue(file, "kvslider.slider1.mixer.set:", "true");
  hostdouble::setValue(file, kEndpointKey, "{headset}");
  startClean();
  EXPECT_EQ(mixerdouble::opens(), 0);
  EXPECT_EQ(slider().knobPos, 46);
  stop();
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "{headset}");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "false");
  hostdouble::setValue(file, kEndpointKey, "Default");
  startClean();
  EXPECT_EQ(slider().knobPos, 92);
  stop();
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "default");

  // Gone at start: said so, unbound, bound when it returns; the file keeps it meanwhile.
  hostdouble::setValue(file, kEndpointKey, "{usb}");
  startClean();
  EXPECT_EQ(statuses(), Texts{kNoEndpoint});
  EXPECT_FALSE(volumeBound(slider().binding));
  endpointdouble::addEndpoint({L"{usb}", L"USB", 0.75f, false, DEVICE_STATE_NOTPRESENT});
  endpointdouble::setState(3, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(slider().knobPos, 138);
  stop();
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "{usb}");

  // An ID the host may have cut, or that is not UTF-8, names no endpoint; the
  // file keeps it as the user wrote it until another choice is made.
  for (const std::string& stored : {"{" + std::string(253, 'a') + "}", std::string("{\xC3(}")}) {
    hostdouble::setValue(file, kEndpointKey, stored);
    startClean();
    EXPECT_FALSE(volumeBound(slider().binding));
    EXPECT_EQ(statuses().back(), kNoEndpoint);
    stop();
    EXPECT_EQ(hostdouble::value(file, kEndpointKey), stored);
  }
  startClean();
  command("nomixer-slider1");
  stop();
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "");
}

// The host may have left the thread without COM, or in either model; the
// plug-in balances exactly what it did itself.
TEST_F(EndpointBinding, TheComApartmentIsLeftAsTheHostHadIt) {
  const auto useComAndStop = [this] {
    ASSERT_EQ(start(), 0);
    showConfigMenu(slider());
    stop();
  };
  useComAndStop();  // entered again on top of the host's (S_FALSE)
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();
  leaveTestApartment();
  useComAndStop();  // no COM before: none after
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  useComAndStop();  // the other model (RPC_E_CHANGED_MODE): used as it is, never undone
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CoUninitialize();
}

// A microphone: a capture endpoint, bound and followed as the speakers are,
// with defaults, a list and a settings key of its own.
class Microphone : public EndpointBinding {
 protected:
  void SetUp() override {
    EndpointBinding::SetUp();
    endpointdouble::addEndpoint(
        {L"{usb}", L"USB Microphone", 0.4f, false, DEVICE_STATE_ACTIVE, eCapture});  // 3
    endpointdouble::addEndpoint(
        {L"{cam}", L"Webcam", 0.8f, false, DEVICE_STATE_ACTIVE, eCapture});  // 4
    endpointdouble::switchDefault(3, eCapture);
  }
  static std::string tip() { return tooltipText(slider()); }
};

TEST_F(Microphone, IsBoundSetMutedAndFollowedLikeTheSpeakers) {
  startClean();
  command("microphone-slider1-0");
  EXPECT_EQ(name(), "USB Microphone");
  EXPECT_EQ(slider().knobPos, 74);  // 0.4 on the same taper: round(73.6)
  showConfigMenu(slider());
  const std::string tree = hostdouble::menuTree(configMenu);
  EXPECT_NE(tree.find("    -- \n    -- Microphones\n"
                      "    [x] Default microphone -> @KvSliderConfigure-microphone-slider1-0\n"
                      "    [ ] Default communications microphone -> "
                      "@KvSliderConfigure-commsmicrophone-slider1\n"
                      "    [ ] USB Microphone -> @KvSliderConfigure-microphone-slider1-1\n"
                      "    [ ] Webcam -> @KvSliderConfigure-microphone-slider1-2\n    -- \n"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("[ ] Default device"), std::string::npos);

  // Level and mute from here, not echoed; from elsewhere, followed.
  command("volume-slider1-60");
  EXPECT_EQ(endpointdouble::level(3), 0.6f);
  command("mutetoggle-slider1");
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);
  EXPECT_TRUE(slider().levelMuted());
  SendMessageA(slider().window, WM_NCMOUSEHOVER, HTCAPTION, 0);
  EXPECT_EQ(tip(), "USB Microphone: muted");
  EXPECT_EQ(gradientsPainted(), 4u);  // the muted look: a hollow knob
  endpointdouble::changeElsewhere(3, 0.42f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  UpdateWindow(slider().window);
  EXPECT_EQ(tip(), "USB Microphone: 42%");

  // The default capture endpoint is followed; the speakers' default is not its business.
  endpointdouble::switchDefault(0, eRender);
  EXPECT_EQ(deliver(kMsgEndpointDevices), 0);
  endpointdouble::switchDefault(4, eCapture);
  EXPECT_EQ(deliver(kMsgEndpointDevices), 1);
  EXPECT_EQ(name(), "Webcam");

  // One chosen by number leaves and comes back; a refused set is told once.
  command("microphone-slider1-1");
  endpointdouble::setState(3, DEVICE_STATE_UNPLUGGED);
  deliver(kMsgEndpointDevices);
  EXPECT_FALSE(volumeBound(slider().binding));
  endpointdouble::setState(3, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "USB Microphone");
  endpointdouble::fail(Op::SetLevel, E_NOTIMPL);
  drag(3);
  command("volumeup-slider1");
  EXPECT_EQ(statuses(), Texts{kNotSet});
  MessageBoxCapture boxes;
  command("microphone-slider1-3");
  command("microphone-slider1-x");
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(statuses(), (Texts{kNotSet, kNoEndpoint}));
}

TEST_F(Microphone, ItsKeyComesAfterTheSpeakersAndBeforeTheMixerAndKeepsAnAbsentOne) {
  ASSERT_EQ(start(), 0);
  const std::string file = settingsPath;
  stop();
  const std::string microphone = "kvslider.slider1.microphone:";
  hostdouble::setValue(file, "kvslider.slider1.mixer.set:", "true");
  hostdouble::setValue(file, microphone, "{cam}");
  startClean();
  EXPECT_EQ(mixerdouble::opens(), 0);
  EXPECT_EQ(name(), "Webcam");
  stop();
  EXPECT_EQ(hostdouble::value(file, microphone), "{cam}");
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "false");

  hostdouble::setValue(file, kEndpointKey, "default");
  startClean();
  EXPECT_EQ(name(), "Speakers");
  command("microphone-slider1-0");  // a choice of another kind empties the other key
  stop();
  EXPECT_EQ(hostdouble::value(file, microphone), "default");
  EXPECT_EQ(hostdouble::value(file, kEndpointKey), "");

  // Absent at start: said, unbound, kept in the file and bound when it is back.
  hostdouble::setValue(file, microphone, "{headset-mic}");
  startClean();
  EXPECT_EQ(statuses(), Texts{kNoEndpoint});
  endpointdouble::addEndpoint(
      {L"{headset-mic}", L"Headset Microphone", 0.5f, false, DEVICE_STATE_ACTIVE, eCapture});
  endpointdouble::setState(5, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "Headset Microphone");
  stop();
  EXPECT_EQ(hostdouble::value(file, microphone), "{headset-mic}");
}

// Wine's own Core Audio, with PulseAudio behind it: what it lists and allows.
class RealCoreAudio : public EndpointBinding {
 public:
  using EndpointBinding::command;
  using EndpointBinding::name;
  using EndpointBinding::startClean;

 protected:
  // Each starts with the audio server's defaults, whatever a test before it
  // (one stopped at its time limit, say) left switched.
  void SetUp() override {
    EndpointBinding::SetUp();
    endpointdouble::uninstall();
    forgetSwitchedDefaults();
  }
  void TearDown() override {
    EndpointBinding::TearDown();
    forgetSwitchedDefaults();
  }
  static void forgetSwitchedDefaults() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers\\winepulse.drv", 0,
                      KEY_SET_VALUE, &key) != ERROR_SUCCESS)
      return;
    for (const wchar_t* value :
         {L"DefaultOutput", L"DefaultInput", L"DefaultVoiceOutput", L"DefaultVoiceInput"})
      RegDeleteValueW(key, value);
    RegCloseKey(key);
  }
};

TEST_F(RealCoreAudio, ListsWinesEndpointsAndBindsTheDefaultAsFarAsWineAllows) {
  startClean();
  showConfigMenu(slider());
  const std::string tree = hostdouble::menuTree(configMenu);
  EXPECT_NE(tree.find("    [ ] Default device -> @KvSliderConfigure-endpoint-slider1-0\n"),
            std::string::npos);
  EXPECT_NE(tree.find("    [ ] Null Output -> @KvSliderConfigure-endpoint-slider1-"),
            std::string::npos)
      << tree;
  command("endpoint-slider1-0");
  ASSERT_TRUE(volumeBound(slider().binding));
  const double level = slider().value;
  drag(3);
  if (!statuses().empty()) {  // wine 8 refuses: told once, the knob shows the device
    EXPECT_EQ(statuses(), Texts{kNotSet});
    EXPECT_EQ(slider().value, level);
  }
  // Wine does set an endpoint's mute: the command toggles it and back.
  bool muted = true;
  ASSERT_TRUE(readVolumeMute(slider().binding, muted));
  for (bool expected : {!muted, muted}) {
    command("mutetoggle-slider1");
    EXPECT_EQ(slider().levelMuted(), expected);
  }
}

// Wine watches its driver's DefaultOutput and DefaultInput values (endpoint
// IDs), and DefaultVoiceOutput and DefaultVoiceInput for calls, and tells its
// clients; the slider follows the default of its flow and role. Another
// slider, on the console's default (when value is one for calls), stays.
void followsWinesDefault(RealCoreAudio& test, const char* choice, EDataFlow flow,
                         const wchar_t* value, const char* staying = nullptr) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers\\winepulse.drv", 0, KEY_SET_VALUE,
                    &key) != ERROR_SUCCESS)
    GTEST_SKIP() << "wine's PulseAudio driver is not in use";
  test.startClean();
  if (staying != nullptr) sendCommand(slider(), "@KvSliderConfigure-newslider-slider1");
  Slider* other = sliderAt(1);
  if (other != nullptr) handleCommand(*other, staying);
  const std::string before = other != nullptr ? other->levelName() : "";
  RealCoreAudio::command(choice);
  wchar_t id[kEndpointIdSize] = L"";
  char target[kTextSize] = "";
  EndpointList list;
  for (unsigned i = 0; list.open(flow) && i < list.count() && target[0] == '\0'; ++i)
    if (!list.entry(i, id, target, kTextSize) || RealCoreAudio::name() == target) target[0] = '\0';
  ASSERT_NE(target[0], '\0') << "wine lists one endpoint";
  // Wine's watch starts on a thread of its own and takes the value it first
  // reads as the old one: switch back, let it see that, and switch again.
  const auto pumpFor = [&](int ms) {
    for (int waited = 0; waited < ms && RealCoreAudio::name() != target; waited += 20) {
      Sleep(20);
      pumpMessages();
    }
  };
  for (int attempt = 0; attempt < 5 && RealCoreAudio::name() != target; ++attempt) {
    RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(id),
                   static_cast<DWORD>((lstrlenW(id) + 1) * sizeof(wchar_t)));
    pumpFor(1000);
    if (RealCoreAudio::name() == target) break;
    RegDeleteValueW(key, value);
    pumpFor(300);
  }
  EXPECT_EQ(RealCoreAudio::name(), target);
  if (other != nullptr) {
    EXPECT_EQ(other->levelName(), before);
  }
  RegDeleteValueW(key, value);  // back to the audio server's default
  RegCloseKey(key);
}

TEST_F(RealCoreAudio, FollowsWinesDefaultOutputWhenItIsSwitched) {
  followsWinesDefault(*this, "endpoint-slider1-0", eRender, L"DefaultOutput");
}

TEST_F(RealCoreAudio, FollowsWinesDefaultForCallsWhileTheConsolesStays) {
  followsWinesDefault(*this, "commsendpoint-slider1", eRender, L"DefaultVoiceOutput",
                      "@KvSliderConfigure-endpoint-slider2-0");
}

TEST_F(RealCoreAudio, FollowsWinesMicrophoneForCalls) {
  followsWinesDefault(*this, "commsmicrophone-slider1", eCapture, L"DefaultVoiceInput",
                      "@KvSliderConfigure-microphone-slider2-0");
}

TEST_F(RealCoreAudio, ListsWinesMicrophonesAndFollowsItsDefaultInput) {
  followsWinesDefault(*this, "microphone-slider1-0", eCapture, L"DefaultInput");
  showConfigMenu(slider());
  const std::string tree = hostdouble::menuTree(configMenu);
  EXPECT_NE(tree.find("    [ ] Monitor of Null Output -> @KvSliderConfigure-microphone-slider1-"),
            std::string::npos)
      << tree;
}

}  // namespace
