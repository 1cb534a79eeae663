// One program's volume: a slider bound to an application's audio sessions on
// every render endpoint, through the fake device enumerator's sessions. The
// held level and mute, sessions coming and going, changes made elsewhere,
// the menu, the keys and the not-running state.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "commands/config_menu.h"
#include "mixer/mta_worker.h"
#include "mixer/volume_messages.h"
#include "slider/tooltip.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

using Texts = std::vector<std::string>;

constexpr DWORD kPlayerA = 0x7FFF0101, kPlayerB = 0x7FFF0102, kBrowser = 0x7FFF0201;
constexpr char kNotFound[] = "HostMsgStatusText(Unable to find the application.)";

std::wstring identifier(const std::wstring& image) {
  return L"{0.0.0.00000000}.{e1}|\\Device\\HarddiskVolume3\\Apps\\" + image +
         L"%b{00000000-0000-0000-0000-000000000000}";
}

endpointdouble::Session session(DWORD process, const std::wstring& image, float level,
                                const std::wstring& display = L"") {
  endpointdouble::Session s;
  s.processId = process;
  s.identifier = identifier(image);
  s.displayName = display;
  s.level = level;
  return s;
}

class AppBinding : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    useDefaultGeometry();  // travel 184
    endpointdouble::reset(true);
    endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.5f});
    endpointdouble::addEndpoint({L"{headset}", L"Headset", 0.5f});
    endpointdouble::switchDefault(0);
    // The player plays on both endpoints; its sessions' process image is only
    // in the identifier, as for a process that cannot be opened.
    playerA_ = endpointdouble::addSession(0, session(kPlayerA, L"Player.EXE", 0.3f));
    playerB_ = endpointdouble::addSession(1, session(kPlayerB, L"player.exe", 0.8f));
    browser_ = endpointdouble::addSession(0, session(kBrowser, L"browser.exe", 1.0f, L"Web"));
    endpointdouble::Session sounds;
    sounds.systemSounds = true;
    sounds.displayName = L"@%SystemRoot%\\System32\\AudioSrv.Dll,-202";
    sounds_ = endpointdouble::addSession(0, sounds);
  }
  void startClean() {
    ASSERT_EQ(start(), 0);
    file_ = settingsPath;
    pumpMessages();
  }
  void restart() {
    stop();
    startClean();
  }
  static void command(const std::string& tail) {
    handleCommand(slider(), ("@KvSliderConfigure-" + tail).c_str());
  }
  static int deliver(UINT message) { return deliverMixerNotifications(slider().window, message); }
  static Texts statuses() { return hostdouble::callsNamed("HostMsgStatusText"); }
  static std::string applications() {
    showConfigMenu(slider());
    const std::string tree = hostdouble::menuTree(configMenu);
    // The submenu's title and the lines indented below it.
    size_t end = tree.find("    Applications\n");
    const size_t begin = end;
    do end = tree.find('\n', end) + 1;
    while (tree.compare(end, 6, "      ") == 0);
    return tree.substr(begin, end - begin);
  }
  static std::string tip() {
    SendMessageA(slider().window, WM_NCMOUSEHOVER, HTCAPTION, 0);
    return tooltipText(slider());
  }
  std::string stored(const char* key) const {
    return hostdouble::value(file_, std::string("kvslider.slider1.") + key);
  }

  size_t playerA_ = 0, playerB_ = 0, browser_ = 0, sounds_ = 0;
  std::string file_;
};

TEST_F(AppBinding, ChosenFromTheMenuItHoldsOneLevelForAllTheProgramsSessions) {
  startClean();
  const std::string a = "@KvSliderConfigure-app-slider1-";
  EXPECT_EQ(applications(), "    Applications\n      [ ] player -> " + a +
                                std::to_string(kPlayerA) + "\n      [ ] Web -> " + a +
                                std::to_string(kBrowser) + "\n      [ ] System sounds -> " + a +
                                "0\n");
  command("app-slider1-" + std::to_string(kPlayerB));       // any of its sessions names it
  EXPECT_EQ(endpointdouble::sessionLevel(playerB_), 0.3f);  // the first session's level
  EXPECT_EQ(slider().knobPos, 55);
  EXPECT_EQ(tip(), "player: 30%");
  EXPECT_TRUE(endpointdouble::lastSessionRegistrationFromMta());
  EXPECT_NE(applications().find("[x] player"), std::string::npos);

  // Its own sets are not echoed back; a change elsewhere becomes the level held.
  command("volume-slider1-50");
  EXPECT_EQ(endpointdouble::sessionLevel(playerA_), 0.5f);
  EXPECT_EQ(endpointdouble::sessionLevel(playerB_), 0.5f);
  EXPECT_EQ(endpointdouble::sessionLevel(browser_), 1.0f);
  EXPECT_EQ(deliver(kMsgAppVolume), 0);
  endpointdouble::changeSessionElsewhere(playerB_, 0.7f, true);
  EXPECT_EQ(deliver(kMsgAppVolume), 1);
  EXPECT_EQ(endpointdouble::sessionLevel(playerA_), 0.7f);
  EXPECT_TRUE(endpointdouble::sessionMuted(playerA_));
  EXPECT_EQ(tip(), "player: muted");

  // A new session (the program restarted, a new tab) is set to what is held,
  // a burst of them read at once; one that expires or whose device is gone is let go.
  const size_t later = endpointdouble::createSession(0, session(0x7FFF0103, L"player.exe", 1.0f));
  const size_t tab = endpointdouble::createSession(1, session(0x7FFF0105, L"player.exe", 1.0f));
  EXPECT_EQ(deliver(kMsgAppSessions), 1);
  EXPECT_EQ(endpointdouble::sessionLevel(later), 0.7f);
  EXPECT_TRUE(endpointdouble::sessionMuted(later));
  EXPECT_EQ(endpointdouble::sessionLevel(tab), 0.7f);
  endpointdouble::expireSession(tab);
  const int events = endpointdouble::sessionEventsRegistered();
  endpointdouble::expireSession(playerA_);
  deliver(kMsgAppSessions);
  endpointdouble::invalidateSession(later);
  command("mutetoggle-slider1");
  EXPECT_FALSE(endpointdouble::sessionMuted(playerB_));
  EXPECT_EQ(endpointdouble::sessionEventsRegistered(), events - 3);
  const size_t other = endpointdouble::createSession(1, session(0x7FFF0104, L"player.exe", 1.0f));
  deliver(kMsgAppSessions);
  endpointdouble::disconnectSession(other, DisconnectReasonDeviceRemoval);
  EXPECT_EQ(deliver(kMsgAppSessions), 1);
  EXPECT_EQ(endpointdouble::sessionEventsRegistered(), events - 3);

  // An endpoint that goes takes its watch along, and brings it back.
  EXPECT_EQ(endpointdouble::sessionNotificationsRegistered(), 2);
  endpointdouble::setState(1, DEVICE_STATE_UNPLUGGED);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(endpointdouble::sessionNotificationsRegistered(), 1);
  endpointdouble::setState(1, DEVICE_STATE_ACTIVE);
  deliver(kMsgEndpointDevices);
  EXPECT_EQ(endpointdouble::sessionNotificationsRegistered(), 2);

  // A session that appears as another goes, in one burst, gets what is held too.
  endpointdouble::expireSession(playerB_);
  const size_t next = endpointdouble::createSession(0, session(0x7FFF0106, L"player.exe", 1.0f));
  EXPECT_EQ(deliver(kMsgAppSessions), 1);
  EXPECT_EQ(endpointdouble::sessionLevel(next), 0.7f);

  // A process with no session: said, and the binding stays.
  command("app-slider1-12345");
  EXPECT_EQ(statuses(), Texts{kNotFound});
  EXPECT_EQ(tip(), "player: 70%");
  stop();
  EXPECT_EQ(stored("app:"), "player.exe");
  EXPECT_EQ(stored("app.level:"), "70");
  EXPECT_EQ(endpointdouble::sessionNotificationsRegistered(), 0);
  EXPECT_EQ(endpointdouble::sessionEventsRegistered(), 0);
  EXPECT_EQ(endpointdouble::referencesHeld(), 0);
}

TEST_F(AppBinding, ItsLevelIsHeldAcrossRestartsAndWhileItIsNotRunning) {
  startClean();
  stop();
  hostdouble::setValue(file_, "kvslider.slider1.app:", "jukebox.exe");
  hostdouble::setValue(file_, "kvslider.slider1.app.level:", "40");
  hostdouble::setValue(file_, "kvslider.slider1.mixer.set:", "true");
  startClean();
  EXPECT_EQ(mixerdouble::opens(), 0);
  EXPECT_EQ(slider().knobPos, 74);
  EXPECT_EQ(tip(), "jukebox: 40% (not running)");
  EXPECT_EQ(applications().find("    Applications\n      -- jukebox (not running)\n"), 0u);
  SendMessageA(slider().window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  command("mutetoggle-slider1");
  EXPECT_EQ(tip(), "jukebox: muted (not running)");
  const size_t started =
      endpointdouble::createSession(1, session(0x7FFF0301, L"JukeBox.exe", 1.0f));
  deliver(kMsgAppSessions);
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(started), 0.42f);
  EXPECT_TRUE(endpointdouble::sessionMuted(started));
  stop();
  EXPECT_EQ(stored("app.level:"), "42");
  EXPECT_EQ(stored("mixer.set:"), "false");

  // The mute lasts for the run; the level is put on the program as it starts.
  endpointdouble::changeSessionElsewhere(started, 1.0f, true);
  startClean();
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(started), 0.42f);
  EXPECT_FALSE(endpointdouble::sessionMuted(started));

  // The system sounds; a level out of range is repaired; an endpoint key wins.
  command("app-slider1-0");
  EXPECT_EQ(tip(), "System sounds: 100%");
  stop();
  EXPECT_EQ(stored("app:"), "systemsounds");
  hostdouble::setValue(file_, "kvslider.slider1.app.level:", "150");
  startClean();
  EXPECT_EQ(slider().knobPos, 184);
  stop();
  hostdouble::setValue(file_, "kvslider.slider1.endpoint:", "default");
  startClean();
  EXPECT_EQ(tip(), "Speakers: 50%");
  stop();
  EXPECT_EQ(stored("app:"), "");
}

// A program is known by the image its session identifier names, the
// system's own record of the session; by its process only where the
// identifier names none. The menu, the binding and the keys agree.
TEST_F(AppBinding, AProgramIsKnownByItsIdentifierAndByItsProcessOnlyWhereThatNamesNone) {
  endpointdouble::reset(true);
  endpointdouble::addEndpoint({L"{speakers}", L"Speakers", 0.5f});
  const DWORD self = GetCurrentProcessId();
  // This process ID now belongs to another program (this one) than the session's.
  endpointdouble::addSession(0, session(self, L"somethingelse.exe", 0.25f, L"@no such string"));
  endpointdouble::addSession(0, session(0x7FFF0401, L"100%best.exe", 0.5f));
  endpointdouble::Session unnamed = session(0x7FFF0402, L"x.exe", 0.5f);
  unnamed.identifier = L"{0.0.0.00000000}.{e1}|#%b{00000000-0000-0000-0000-000000000000}";
  endpointdouble::addSession(0, unnamed);  // no image, and no process to ask
  unnamed.processId = self;
  endpointdouble::addSession(0, unnamed);  // no image: the process says
  endpointdouble::Session service = session(0x7FFF0403, L"service.exe", 0.5f);
  service.processIdFails = true;  // no command could name it: not the system sounds either
  endpointdouble::addSession(0, service);
  startClean();
  const std::string a = "@KvSliderConfigure-app-slider1-";
  const std::string me = std::to_string(self);
  EXPECT_EQ(applications(), "    Applications\n      [ ] somethingelse -> " + a + me +
                                "\n      [ ] 100%best -> " + a + std::to_string(0x7FFF0401) +
                                "\n      [ ] kv_unit_tests -> " + a + me + "\n");
  command("app-slider1-" + me);
  EXPECT_EQ(tip(), "somethingelse: 25%");
  EXPECT_NE(applications().find("[x] somethingelse"), std::string::npos);
  command("app-slider1-" + std::to_string(0x7FFF0401));
  EXPECT_EQ(tip(), "100%best: 50%");
  stop();
  EXPECT_EQ(stored("app:"), "100%best.exe");
}

// Whatever the shell hands back whole is kept; a name it may have cut (255
// bytes) or that is not UTF-8 names no program, and the file keeps it as written.
TEST_F(AppBinding, StoredNamesAreKeptWholeAndOnesThatCannotBeReadAreKeptAsWritten) {
  startClean();
  stop();
  const std::string longName(196, 'q');  // 200 bytes with ".exe"
  hostdouble::setValue(file_, "kvslider.slider1.app:", longName + ".EXE");
  hostdouble::setValue(file_, "kvslider.slider1.app.level:", "40");
  startClean();
  const size_t started = endpointdouble::createSession(
      0, session(0x7FFF0501, std::wstring(longName.begin(), longName.end()) + L".exe", 1.0f));
  deliver(kMsgAppSessions);
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(started), 0.4f);
  stop();
  EXPECT_EQ(stored("app:"), longName + ".exe");

  for (const std::string& unreadable : {std::string(251, 'r') + ".exe", std::string("\xff.exe")}) {
    hostdouble::setValue(file_, "kvslider.slider1.app:", unreadable);
    startClean();
    EXPECT_EQ(slider().knobPos, 74) << unreadable;
    EXPECT_FALSE(volumeRunning(slider().binding));
    SendMessageA(slider().window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);  // held still
    stop();
    EXPECT_EQ(stored("app:"), unreadable);
    EXPECT_EQ(stored("app.level:"), "42");
    hostdouble::setValue(file_, "kvslider.slider1.app.level:", "40");
  }
}

// However fast a program's sessions come, the slider reads them a hundred
// times a second at most, after a first burst; none is missed for it.
TEST_F(AppBinding, AFlurryOfSessionsIsReadAtAMeasuredPaceAndNoneIsMissed) {
  startClean();
  command("app-slider1-" + std::to_string(kBrowser));
  std::vector<size_t> made;
  for (int i = 0; i < 30; ++i) {  // within the 32 sessions a program may have
    made.push_back(endpointdouble::createSession(0, session(0x7FFF0800 + i, L"browser.exe", 0.1f)));
    deliver(kMsgAppSessions);
  }
  for (int waited = 0; waited < 2000 && endpointdouble::sessionLevel(made.back()) != 1.0f;
       waited += 10) {
    Sleep(10);
    pumpMessages();
  }
  for (size_t m : made) EXPECT_EQ(endpointdouble::sessionLevel(m), 1.0f) << m;
}

// The system may keep the thread that registers for new sessions waiting:
// the shell is told once, in a box of its own, and never waits for it again.
TEST_F(AppBinding, AWorkerTheSystemKeepsWaitingIsToldOfOnceAndNothingWaitsForIt) {
  setMtaWorkerPatience(200);
  startClean();
  endpointdouble::holdSessionRegistrations(true);
  const DWORD before = GetTickCount();
  command("app-slider1-" + std::to_string(kPlayerA));
  command("app-slider1-" + std::to_string(kBrowser));
  EXPECT_LT(GetTickCount() - before, 2000u);
  EXPECT_EQ(tip(), "Web: 100%");  // bound all the same, only deaf to new sessions
  HWND box = nullptr;
  for (int i = 0; i < 200 && box == nullptr; ++i, Sleep(10))
    box = FindWindowA(nullptr, kPluginTitle);
  ASSERT_NE(box, nullptr);
  SendMessageA(box, WM_COMMAND, IDOK, 0);
  Sleep(300);
  EXPECT_EQ(FindWindowA(nullptr, kPluginTitle), nullptr);  // told once
  endpointdouble::holdSessionRegistrations(false);
  stop();
  setMtaWorkerPatience(0);
  for (int i = 0; i < 200 && endpointdouble::registeredCallbacks() != 0; ++i) Sleep(10);
  EXPECT_EQ(endpointdouble::registeredCallbacks(), 0);  // a late answer is undone too
}

// Each slider on a program passes its own context: two sliders on one
// program follow each other and agree on a session that appears, and a
// change another program makes without a context of its own is followed.
TEST_F(AppBinding, TwoSlidersOnOneProgramHoldOneLevelAndFollowChangesWithoutAContext) {
  startClean();
  stop();
  hostdouble::setValue(file_, "kvslider.sliders:", "slider1 slider2");
  hostdouble::setValue(file_, "kvslider.slider1.app:", "player.exe");
  hostdouble::setValue(file_, "kvslider.slider1.app.level:", "40");
  hostdouble::setValue(file_, "kvslider.slider2.app:", "player.exe");
  hostdouble::setValue(file_, "kvslider.slider2.app.level:", "60");
  startClean();
  const Slider& a = *sliderAt(0);
  const Slider& b = *sliderAt(1);
  EXPECT_NEAR(a.level(), b.level(), 1e-6);
  EXPECT_EQ(endpointdouble::sessionLevel(playerA_), endpointdouble::sessionLevel(playerB_));

  const size_t later = endpointdouble::createSession(0, session(0x7FFF0601, L"player.exe", 1.0f));
  pumpMessages();
  EXPECT_EQ(endpointdouble::sessionLevel(later), endpointdouble::sessionLevel(playerA_));
  EXPECT_FLOAT_EQ(static_cast<float>(a.level()), endpointdouble::sessionLevel(later));

  handleCommand(*sliderAt(1), "@KvSliderConfigure-volume-slider2-30");
  pumpMessages();
  EXPECT_NEAR(a.level(), 0.3, 1e-6);
  endpointdouble::changeSessionElsewhere(playerA_, 0.2f, false, &GUID_NULL);
  pumpMessages();
  EXPECT_NEAR(a.level(), 0.2, 1e-6);
  EXPECT_NEAR(b.level(), 0.2, 1e-6);
  endpointdouble::changeSessionElsewhere(playerB_, 0.8f, false, nullptr);
  pumpMessages();
  EXPECT_NEAR(a.level(), 0.8, 1e-6);
  EXPECT_NEAR(b.level(), 0.8, 1e-6);
  EXPECT_FLOAT_EQ(endpointdouble::sessionLevel(later), 0.8f);
}

}  // namespace
