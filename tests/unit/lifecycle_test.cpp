// Start and stop of the plug-in as the host sees them through its call record.
#include <algorithm>

#include "settings/settings_file.h"
#include "tests/support/message_box_capture.h"
#include "tests/support/plugin_fixture.h"

namespace {

class Lifecycle : public PluginTest {};

int indexOf(const std::vector<std::string>& calls, const std::string& prefix) {
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
  return -1;
}

TEST_F(Lifecycle, StartCreatesTheWindowAndRegistersItWithTheHost) {
  ASSERT_EQ(start(), 0);
  HWND w = slider().window;
  ASSERT_TRUE(IsWindow(w));

  char cls[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "KvSlider");
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_CHILD), 0);
  const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_EQ((exStyle & WS_EX_LAYERED) != 0, layeredWindowsAvailable);
  EXPECT_TRUE(layeredWindowsAvailable);  // wine reports an NT system of version 5 or later
  EXPECT_EQ(GetParent(w), nullptr);
  char title[16] = "x";
  GetWindowTextA(w, title, sizeof title);
  EXPECT_STREQ(title, "");

  WNDCLASSA wc = {};
  ASSERT_TRUE(GetClassInfoA(instance(), "KvSlider", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.cbWndExtra, 0);
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));

  const auto& calls = hostdouble::calls();
  const int kvWnd = indexOf(calls, "GetKvWnd(");
  const int reg = indexOf(calls, "HostMsgRegister(");
  const int sticky = indexOf(calls, "MakeSticky(");
  ASSERT_GE(kvWnd, 0);
  ASSERT_GE(reg, 0);
  EXPECT_LT(kvWnd, reg);
  EXPECT_EQ(reg + 1, sticky);
  EXPECT_EQ(calls[static_cast<size_t>(reg)], "HostMsgRegister(window set, [10103, 10901])");
  EXPECT_EQ(calls[static_cast<size_t>(sticky)], "MakeSticky(window)");
  EXPECT_EQ(hostWindow, hostdouble::createHostWindow());
  EXPECT_EQ(moduleInstance, instance());
}

TEST_F(Lifecycle, StyleIsReadBeforeTheSettingsAndBothBeforeTheWindow) {
  ASSERT_EQ(start(), 0);
  const auto& calls = hostdouble::calls();
  const int style = indexOf(calls, "stylePath(");
  const int reg = indexOf(calls, "HostMsgRegister(");
  if (style >= 0) {
    EXPECT_LT(style, reg);
  }
  const int settings = indexOf(calls, "ReadInt(" + std::string(settingsPath));
  if (style >= 0 && settings >= 0) {
    EXPECT_LT(style, settings);
  }
}

TEST_F(Lifecycle, StopUndoesStartInOrder) {
  ASSERT_EQ(start(), 0);
  HWND w = slider().window;
  hostdouble::clearCalls();
  stop();
  const auto& calls = hostdouble::calls();
  const int unsticky = indexOf(calls, "RemoveSticky(");
  const int unreg = indexOf(calls, "HostMsgUnregister(");
  ASSERT_GE(unsticky, 0);
  EXPECT_EQ(unreg, unsticky + 1);
  EXPECT_EQ(calls[static_cast<size_t>(unreg)], "HostMsgUnregister(window set, [10103, 10901])");
  const int firstWrite = indexOf(calls, "Write");
  if (firstWrite >= 0) {
    EXPECT_LT(firstWrite, unsticky);
  }
  EXPECT_FALSE(IsWindow(w));
  WNDCLASSA wc;
  EXPECT_FALSE(GetClassInfoA(instance(), "KvSlider", &wc));
}

TEST_F(Lifecycle, StopDeletesALeftOverMenu) {
  ASSERT_EQ(start(), 0);
  configMenu = MakeMenu("KvSlider");
  hostdouble::clearCalls();
  stop();
  EXPECT_EQ(hostdouble::callsNamed("DelMenu").size(), 1u);
  EXPECT_EQ(hostdouble::liveMenus(), 0);
}

TEST_F(Lifecycle, ClassRegistrationFailureShowsItsBoxAndFails) {
  // A class of the same name already registered for this instance makes RegisterClassA fail.
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance();
  wc.lpszClassName = "KvSlider";
  ASSERT_TRUE(RegisterClassA(&wc));
  MessageBoxCapture boxes;
  EXPECT_EQ(beginPlugin(instance()), 1);
  UnregisterClassA("KvSlider", instance());
  ASSERT_EQ(boxes.boxes().size(), 1u);
  const CapturedBox& box = boxes.boxes()[0];
  EXPECT_EQ(box.text, "Error registering window class");
  EXPECT_EQ(box.caption, "KvSlider 0.1.1");
  EXPECT_EQ(box.owner, hostdouble::createHostWindow());
  EXPECT_TRUE(box.topmost);
  EXPECT_TRUE(box.errorIcon);
  EXPECT_TRUE(hostdouble::callsNamed("HostMsgRegister").empty());
  EXPECT_EQ(slider().window, nullptr);
}

TEST_F(Lifecycle, WindowCreationFailureShowsItsBoxUndoesTheStartAndTheNextStartSucceeds) {
  // A stored binding, so that the failed start has a device open to give back.
  mixerdouble::Line line;
  line.id = 0;
  line.controls = {{0, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 30000, false}};
  mixerdouble::Device device;
  device.destinations = {line};
  mixerdouble::addDevice(device);
  moduleInstance = instance();
  locateSettings();
  hostdouble::setValue(settingsPath, "kvslider.slider1.mixer.set:", "true");

  // A CBT hook that vetoes the creation of the slider's window.
  static HHOOK veto;
  veto = SetWindowsHookExA(
      WH_CBT,
      [](int code, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
        if (code == HCBT_CREATEWND) {
          auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
          if (!IS_INTRESOURCE(cs->lpszClass) && lstrcmpA(cs->lpszClass, "KvSlider") == 0) return 1;
        }
        return CallNextHookEx(veto, code, w, l);
      },
      nullptr, GetCurrentThreadId());
  MessageBoxCapture boxes;
  const int result = beginPlugin(instance());
  UnhookWindowsHookEx(veto);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Error creating window");
  EXPECT_EQ(boxes.boxes()[0].caption, "KvSlider 0.1.1");
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
  EXPECT_TRUE(boxes.boxes()[0].topmost);
  EXPECT_TRUE(boxes.boxes()[0].errorIcon);
  EXPECT_TRUE(hostdouble::callsNamed("HostMsgRegister").empty());
  WNDCLASSA wc;
  EXPECT_FALSE(GetClassInfoA(instance(), "KvSlider", &wc));
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_FALSE(mixerBound(slider()));

  // A shell that loads the plug-in again in the same process gets it running.
  ASSERT_EQ(start(), 0);
  EXPECT_TRUE(IsWindow(slider().window));
  EXPECT_TRUE(mixerBound(slider()));
  EXPECT_EQ(mixerdouble::openHandles(), 1);
  EXPECT_EQ(boxes.boxes().size(), 1u);
  stop();

  // One of two windows failing: said once, the other runs, and the failed one
  // stays in the file as it was.
  const std::string file = settingsPath;
  hostdouble::setValue(file, "kvslider.sliders:", "slider1 slider2");
  static int creations;
  creations = 0;
  veto = SetWindowsHookExA(
      WH_CBT,
      [](int code, WPARAM w, LPARAM l) CALLBACK -> LRESULT {
        if (code == HCBT_CREATEWND) {
          auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
          if (!IS_INTRESOURCE(cs->lpszClass) && lstrcmpA(cs->lpszClass, "KvSlider") == 0 &&
              creations++ == 0)
            return 1;
        }
        return CallNextHookEx(veto, code, w, l);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_EQ(start(), 0);
  UnhookWindowsHookEx(veto);
  EXPECT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(sliderAt(0)->window, nullptr);
  EXPECT_TRUE(IsWindow(sliderAt(1)->window));
  EXPECT_EQ(mixerdouble::openHandles(), 0);
  EXPECT_EQ(hostdouble::callsNamed("HostMsgRegister").size(), 2u);  // the last start, and slider2
  stop();
  EXPECT_EQ(hostdouble::value(file, "kvslider.sliders:"), "slider1 slider2");
  EXPECT_EQ(hostdouble::value(file, "kvslider.slider1.mixer.set:"), "true");
}

TEST_F(Lifecycle, PluginInfoAnswersEveryIndex) {
  EXPECT_STREQ(pluginInfo(1), "KvSlider");
  EXPECT_STREQ(pluginInfo(2), "0.1.1");
  EXPECT_STRNE(pluginInfo(3), "");
  EXPECT_STREQ(pluginInfo(4), "2003-9-27");
  EXPECT_STRNE(pluginInfo(5), "");
  EXPECT_STREQ(pluginInfo(6), "");
  EXPECT_STREQ(pluginInfo(0), "KvSlider 0.1.1");
  EXPECT_STREQ(pluginInfo(7), "KvSlider 0.1.1");
  EXPECT_STREQ(pluginInfo(-1), "KvSlider 0.1.1");
}

}  // namespace
