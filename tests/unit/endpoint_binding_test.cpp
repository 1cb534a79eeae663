// Binding the slider to an audio endpoint through the fake device enumerator:
// commands, menu, notifications from the system's threads, refused sets, the
// default moving, endpoints leaving and returning, the settings key and COM.
#include <string>
#include <vector>

#include "commands/config_menu.h"
#include "mixer/bound_volume.h"
#include "mixer/endpoint_callbacks.h"
#include "mixer/endpoint_device.h"
#include "mixer/volume_messages.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"
#include "tests/support/window_pixels.h"

namespace {

using endpointdouble::Op;

const wchar_t kSpeakers[] = L"{0.0.0.00000000}.{speakers}";
const wchar_t kHeadset[] = L"{0.0.0.00000000}.{headset}";
constexpr DWORD kLine = 0xFFFF0000u;
constexpr char kNoEndpoint[] = "HostMsgStatusText(Unable to open audio endpoint.)";
constexpr char kNotSet[] = "HostMsgStatusText(Unable to set the volume.)";

// Listed as 1 Speakers (the default, 0.5) and 2 Headset (0.25); HDMI is disabled.
class EndpointBinding : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184
    endpointdouble::reset(true);
    endpointdouble::addEndpoint({kSpeakers, L"Speakers", 0.5f});
    endpointdouble::addEndpoint({L"{hdmi}", L"HDMI", 1.0f, false, DEVICE_STATE_DISABLED});
    endpointdouble::addEndpoint({kHeadset, L"Headset", 0.25f});
    endpointdouble::switchDefault(0);
    mixerdouble::Line line;
    line.id = kLine;
    line.controls = {{0, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 65535, false}};
    mixerdouble::Device device;
    device.destinations = {line};
    mixerdouble::addDevice(device);
  }
  void startClean() {
    ASSERT_EQ(start(), 0);
    pumpMessages();
    ValidateRect(slider.window, nullptr);
  }
  static void command(const std::string& tail) {
    slider.handleCommand(("@KvSliderConfigure-" + tail).c_str());
  }
  static bool repainted() {
    const bool pending = repaintPending(slider.window);
    ValidateRect(slider.window, nullptr);
    return pending;
  }
  static int deliver(UINT message) {
    int delivered = 0;
    MSG msg;
    while (PeekMessageA(&msg, slider.window, message, message, PM_REMOVE)) {
      DispatchMessageA(&msg);
      ++delivered;
    }
    return delivered;
  }
  static std::vector<std::string> statuses() { return hostdouble::callsNamed("HostMsgStatusText"); }
  static std::string name() {
    char text[64];
    volumeName(slider, text, sizeof text);
    return text;
  }
  static std::string settingsFile() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1) + "KvSlider.rc";
  }
  // A press on the track at knob position 46 (value 0.25), then moves; the
  // release ends the drag.
  static void drag(int moves) {
    slider.computeLayout();
    SendMessageA(slider.window, WM_NCLBUTTONDOWN, HTCAPTION,
                 MAKELPARAM(slider.x + 54, slider.y + 12));
    for (int i = 0; i < moves; ++i)
      SendMessageA(slider.window, WM_MOUSEMOVE, 0, MAKELPARAM(60 + i, 12));
    SendMessageA(slider.window, WM_LBUTTONUP, 0, MAKELPARAM(60, 12));
  }
};

TEST_F(EndpointBinding, CommandsBindTheDefaultOrTheNthEndpointAndEndAnyOtherBinding) {
  startClean();
  command("endpoint-slider1-2");
  EXPECT_TRUE(volumeBound(slider));
  EXPECT_EQ(slider.knobPos, 46);
  EXPECT_EQ(name(), "Headset");
  EXPECT_TRUE(repainted());
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 2);  // its volume and the system's devices

  command("mixer-slider1-0-4294901760-0");
  EXPECT_TRUE(slider.mixerBound);
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);

  command("endpoint-slider1-0");
  EXPECT_FALSE(slider.mixerBound);
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(slider.knobPos, 92);
  EXPECT_EQ(name(), "Speakers");

  // No third active endpoint, then one that cannot be activated: reported, unbound, repainted.
  command("endpoint-slider1-3");
  EXPECT_FALSE(volumeBound(slider));
  EXPECT_TRUE(repainted());
  endpointdouble::fail(Op::Activate, E_FAIL);
  command("endpoint-slider1-1");
  EXPECT_FALSE(volumeBound(slider));
  EXPECT_EQ(statuses(), (std::vector<std::string>{kNoEndpoint, kNoEndpoint}));
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  endpointdouble::fail(Op::Activate, S_OK);

  MessageBoxCapture boxes;
  command("endpoint-slider1");
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "@KvSliderConfigure was called with invalid arguements.");

  command("endpoint-slider1-1");
  command("nomixer-slider1");
  EXPECT_FALSE(volumeBound(slider));
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  command("endpoint-slider1-1");
  stop();
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

TEST_F(EndpointBinding, MenuListsTheActiveEndpointsFirstWhateverTheirNames) {
  const std::wstring odd = L"Tab\there \u00e9\u4e2d";
  endpointdouble::addEndpoint({L"{long}", std::wstring(254, L'a') + L"\U0001F3A7", 0.5f});
  endpointdouble::addEndpoint({L"{odd}", odd, 0.5f});
  endpointdouble::addEndpoint({L"{nameless}", L"", 0.5f});
  char oddLabel[64] = "";
  WideCharToMultiByte(CP_ACP, 0, L"Tab here \u00e9\u4e2d", -1, oddLabel, sizeof oddLabel, nullptr,
                      nullptr);
  startClean();
  command("endpoint-slider1-2");
  const auto control = [] {
    showConfigMenu();
    const std::string tree = hostdouble::menuTree(configMenu);
    return tree.substr(tree.find("  Control\n"),
                       tree.find("    [ ] - Nothing") - tree.find("  Control\n"));
  };
  const std::string prefix = "@KvSliderConfigure-endpoint-slider1-";
  EXPECT_EQ(control(),
            "  Control\n"
            "    [ ] Default device -> " +
                prefix +
                "0\n"
                "    [ ] Speakers -> " +
                prefix +
                "1\n"
                "    [x] Headset -> " +
                prefix +
                "2\n"
                "    [ ] " +
                std::string(254, 'a') + " -> " + prefix +
                "3\n"
                "    [ ] " +
                oddLabel + " -> " + prefix +
                "4\n"
                "    [ ] Audio endpoint 5 -> " +
                prefix +
                "5\n"
                "    -- \n"
                "    Device\n"
                "      Line\n"
                "        [ ] - Volume -> @KvSliderConfigure-mixer-slider1-0-4294901760-0\n"
                "        -- \n"
                "        -- No source lines available.\n");
  command("endpoint-slider1-0");
  EXPECT_EQ(control().find("    [x] Default device"), 10u);

  // Where the endpoints cannot be listed, or Core Audio is missing, the section is absent.
  endpointdouble::fail(Op::Enumerate, E_FAIL);
  EXPECT_EQ(control().find("endpoint"), std::string::npos);
  endpointdouble::reset(false);
  EXPECT_EQ(control().find("endpoint"), std::string::npos);
}

TEST_F(EndpointBinding, FollowsChangesMadeElsewhereButNotItsOwnEchoes) {
  startClean();
  command("endpoint-slider1-2");
  ValidateRect(slider.window, nullptr);
  endpointdouble::changeElsewhere(2, 1.0f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  EXPECT_EQ(slider.knobPos, 184);
  EXPECT_TRUE(repainted());

  slider.dragging = true;  // the knob follows the mouse alone
  endpointdouble::changeElsewhere(2, 0.0f, false);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 1);
  EXPECT_EQ(slider.knobPos, 184);
  slider.dragging = false;

  drag(0);
  const auto sets = endpointdouble::sets();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].level, 0.25f);
  EXPECT_TRUE(IsEqualGUID(sets[0].context, kOwnVolumeContext));
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);  // its own echo is never posted
  bool muted = false;
  EXPECT_TRUE(writeVolumeMute(slider, true));
  EXPECT_TRUE(readVolumeMute(slider, muted) && muted);
  EXPECT_EQ(deliver(kMsgEndpointVolume), 0);
}

TEST_F(EndpointBinding, ARefusedSetIsReportedOncePerBindingAndTheKnobShowsTheDevice) {
  endpointdouble::fail(Op::SetLevel, E_NOTIMPL);  // as wine does
  startClean();
  command("endpoint-slider1-0");
  drag(5);
  EXPECT_EQ(statuses(), std::vector<std::string>{kNotSet});
  EXPECT_EQ(slider.value, 0.5);
  EXPECT_EQ(slider.knobPos, 92);
  command("endpoint-slider1-0");
  drag(2);
  EXPECT_EQ(statuses(), (std::vector<std::string>{kNotSet, kNotSet}));
}

TEST_F(EndpointBinding, FollowsTheDefaultAndAnEndpointLeavingAndComingBack) {
  startClean();
  command("endpoint-slider1-0");
  endpointdouble::switchDefault(2);  // every role is told; only the console role is followed
  EXPECT_EQ(deliver(kMsgEndpointDevices), 1);
  EXPECT_EQ(name(), "Headset");
  EXPECT_EQ(slider.knobPos, 46);
  endpointdouble::switchDefault(-1);
  deliver(kMsgEndpointDevices);
  EXPECT_FALSE(volumeBound(slider));
  EXPECT_TRUE(followsDefaultEndpoint());
  endpointdouble::switchDefault(0);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(name(), "Speakers");

  command("endpoint-slider1-2");
  endpointdouble::setState(2, DEVICE_STATE_UNPLUGGED);
  deliver(kMsgEndpointDevices);
  EXPECT_FALSE(volumeBound(slider));
  hostdouble::clearCalls();
  repaintNow(slider.window);
  EXPECT_EQ(hostdouble::callsNamed("MakeGradient").size(), 2u);  // no knob
  endpointdouble::changeElsewhere(2, 0.75f, false);
  endpointdouble::setState(2, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(slider.knobPos, 138);
  hostdouble::clearCalls();
  repaintNow(slider.window);
  EXPECT_EQ(hostdouble::callsNamed("MakeGradient").size(), 3u);
}

TEST_F(EndpointBinding, TheStoredEndpointWinsOverTheMixerControlAndIsKeptWhileAbsent) {
  const std::string file = settingsFile();
  const auto stored = [&] { return hostdouble::value(file, "kvslider.slider1.endpoint:"); };
  hostdouble::setValue(file, "kvslider.slider1.mixer.set:", "true");
  hostdouble::setValue(file, "kvslider.slider1.mixer.line", "-65536");
  hostdouble::setValue(file, "kvslider.slider1.endpoint:", "{0.0.0.00000000}.{headset}");
  startClean();
  EXPECT_EQ(mixerdouble::opens(), 0);
  EXPECT_EQ(slider.knobPos, 46);
  stop();
  EXPECT_EQ(stored(), "{0.0.0.00000000}.{headset}");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "false");

  hostdouble::setValue(file, "kvslider.slider1.endpoint:", "Default");
  startClean();
  EXPECT_TRUE(followsDefaultEndpoint());
  EXPECT_EQ(slider.knobPos, 92);
  stop();
  EXPECT_EQ(stored(), "default");

  // Gone at start: said so, unbound, and bound when it returns; the file keeps it meanwhile.
  hostdouble::setValue(file, "kvslider.slider1.endpoint:", "{usb}");
  startClean();
  EXPECT_EQ(statuses(), std::vector<std::string>{kNoEndpoint});
  EXPECT_FALSE(volumeBound(slider));
  endpointdouble::addEndpoint({L"{usb}", L"USB", 0.75f, false, DEVICE_STATE_NOTPRESENT});
  endpointdouble::setState(3, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(slider.knobPos, 138);
  stop();
  EXPECT_EQ(stored(), "{usb}");
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

// The host may have left the thread without COM, or in either model; the
// plug-in balances exactly what it did itself.
TEST_F(EndpointBinding, TheComApartmentIsLeftAsTheHostHadIt) {
  const auto useComAndStop = [this] {
    ASSERT_EQ(start(), 0);
    showConfigMenu();
    stop();
  };
  useComAndStop();  // the host's apartment, entered again by the plug-in (S_FALSE)
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();

  leaveTestApartment();
  useComAndStop();  // no COM before: none after
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  useComAndStop();  // the other model (RPC_E_CHANGED_MODE): used as it is, not undone
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CoUninitialize();
}

// Wine's own Core Audio, with PulseAudio behind it: what it lists and allows.
class RealCoreAudio : public EndpointBinding {
 protected:
  void SetUp() override {
    EndpointBinding::SetUp();
    endpointdouble::uninstall();
  }
};

TEST_F(RealCoreAudio, ListsWinesEndpointsAndBindsTheDefaultAsFarAsWineAllows) {
  startClean();
  showConfigMenu();
  const std::string tree = hostdouble::menuTree(configMenu);
  EXPECT_NE(tree.find("    [ ] Default device -> @KvSliderConfigure-endpoint-slider1-0\n"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("    [ ] Null Output -> @KvSliderConfigure-endpoint-slider1-"),
            std::string::npos)
      << tree;
  command("endpoint-slider1-0");
  ASSERT_TRUE(volumeBound(slider));
  const double level = slider.value;
  drag(3);
  // Wine 8 refuses to set an endpoint's volume: told once, the knob shows the device.
  if (!statuses().empty()) {
    EXPECT_EQ(statuses(), std::vector<std::string>{kNotSet});
    EXPECT_EQ(slider.value, level);
  }
}

// Wine watches its driver's DefaultOutput value and tells its clients.
TEST_F(RealCoreAudio, FollowsWinesDefaultOutputWhenItIsSwitched) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers\\winepulse.drv", 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    GTEST_SKIP() << "wine's PulseAudio driver is not in use";
  wchar_t old[kEndpointIdSize] = L"";
  DWORD oldSize = sizeof old;
  const bool hadOld = RegQueryValueExW(key, L"DefaultOutput", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(old), &oldSize) == ERROR_SUCCESS;
  struct Restore {
    HKEY key;
    bool had;
    const wchar_t* value;
    ~Restore() {
      if (had)
        RegSetValueExW(key, L"DefaultOutput", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
      else
        RegDeleteValueW(key, L"DefaultOutput");
      RegCloseKey(key);
    }
  } restore{key, hadOld, old};

  startClean();
  command("endpoint-slider1-0");
  ASSERT_TRUE(volumeBound(slider));
  wchar_t id[kEndpointIdSize] = L"";
  char target[kTextSize] = "";
  EndpointList list;
  ASSERT_TRUE(list.open());
  for (unsigned i = 0; i < list.count() && target[0] == '\0'; ++i)
    if (!list.entry(i, id, target, kTextSize) || name() == target) target[0] = '\0';
  if (target[0] == '\0') GTEST_SKIP() << "wine lists a single endpoint";

  RegSetValueExW(key, L"DefaultOutput", 0, REG_SZ, reinterpret_cast<const BYTE*>(id),
                 static_cast<DWORD>((lstrlenW(id) + 1) * sizeof(wchar_t)));
  for (int waited = 0; waited < 5000 && name() != target; waited += 20) {
    Sleep(20);
    pumpMessages();
  }
  EXPECT_EQ(name(), target);
  EXPECT_TRUE(followsDefaultEndpoint());
}

}  // namespace
