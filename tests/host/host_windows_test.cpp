// Registration, broadcasts, status texts, menus and snapping with real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/host_messages.h"
#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/monitors.h"
#include "tolvane/script_steps.h"

namespace {

std::vector<std::string> g_received;
int g_reloads = 0;

LRESULT CALLBACK pluginProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == HostMsgCommand) {
    g_received.push_back(lp ? reinterpret_cast<const char*>(lp) : "(null)");
    return 0;
  }
  if (m == HostMsgReload) return ++g_reloads, 0;
  return DefWindowProcA(w, m, wp, lp);
}

class HostWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    g_received.clear();
    g_reloads = 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    hostState().registered.clear();  // each test runs in a process of its own; be tidy anyway
    hostState().scriptMode = false;
    hostState().mainWindow = main_ = createMainWindow(instance);
    ASSERT_NE(main_, nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pluginProc;
    wc.hInstance = instance;
    wc.lpszClassName = "HostTestPlugin";
    RegisterClassA(&wc);
    plugin_ = CreateWindowExA(0, "HostTestPlugin", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              instance, nullptr);
    ASSERT_NE(plugin_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(plugin_);
    DestroyWindow(main_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    UnregisterClassA("TolvaneToolbar", GetModuleHandleA(nullptr));
  }
  void registerFor(const UINT* list) {
    SendMessageA(main_, HostMsgRegister, reinterpret_cast<WPARAM>(plugin_),
                 reinterpret_cast<LPARAM>(list));
  }
  HWND main_ = nullptr, plugin_ = nullptr;
};

const UINT kPluginMessages[] = {HostMsgReload, HostMsgCommand, 0};

}  // namespace

TEST_F(HostWindows, RegisteredWindowsReceiveBroadcastsUntilUnregistered) {
  EXPECT_EQ(GetKvWnd(), main_);
  registerFor(kPluginMessages);
  registerFor(kPluginMessages);  // twice is still once
  EXPECT_EQ(sendToRegistered(HostMsgCommand, "@KvHidePlugins"), 1);
  EXPECT_EQ(sendReload(), 1);
  EXPECT_EQ(g_received, std::vector<std::string>{"@KvHidePlugins"});
  EXPECT_EQ(g_reloads, 1);
  SendMessageA(main_, HostMsgUnregister, reinterpret_cast<WPARAM>(plugin_),
               reinterpret_cast<LPARAM>(kPluginMessages));
  EXPECT_EQ(sendToRegistered(HostMsgCommand, "@KvShowPlugins"), 0);
  EXPECT_EQ(g_received.size(), 1u);
  // A destroyed window is skipped rather than sent to.
  registerFor(kPluginMessages);
  DestroyWindow(plugin_);
  EXPECT_EQ(sendToRegistered(HostMsgCommand, "x"), 0);
  SendMessageA(main_, HostMsgRegister, 0, 0);  // nothing to register: ignored
}

TEST_F(HostWindows, StatusTextIsKeptAndBounded) {
  SendMessageA(main_, HostMsgStatusText, 0,
               reinterpret_cast<LPARAM>("Unable to open mixer device."));
  EXPECT_EQ(hostState().statusText, "Unable to open mixer device.");
  const std::string longText(1000, 'k');
  SendMessageA(main_, HostMsgStatusText, 0, reinterpret_cast<LPARAM>(longText.c_str()));
  EXPECT_EQ(hostState().statusText.size(), 255u);
  SendMessageA(main_, HostMsgStatusText, 0, 0);
  EXPECT_EQ(hostState().statusText, "");
}

TEST_F(HostWindows, ScriptedChoiceDeliversTheCommandLikeAClick) {
  registerFor(kPluginMessages);
  hostState().scriptMode = true;
  HostMenu root = MakeMenu("KvSlider");
  HostMenu options = MakeMenu("Options");
  MakeMenuItem(options, "Always on top", "@KvSliderConfigure-ontoptoggle-slider1", true);
  MakeMenuNOP(options, "");
  MakeSubmenu(root, options, "Options");
  ShowMenu(root);
  DelMenu(root);  // the plug-in may drop its menu while it is open
  EXPECT_EQ(hostState().menus.liveCount(), 0u);
  ASSERT_NE(hostState().lastShownMenu, nullptr);
  const HostMenuItem* item = findMenuItem(*hostState().lastShownMenu, {"Options", "Always*"});
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->checked);
  deliverMenuCommand(item->command);
  EXPECT_EQ(g_received, std::vector<std::string>{"@KvSliderConfigure-ontoptoggle-slider1"});
  ShowMenu(root);  // a stale handle is refused
  DelMenu(root);
  MakeMenuItem(root, "x", "y", false);
}

// Scripts name the N-th window of a class; the numbers must not follow the
// z-order, which every click changes, nor skip a hidden window.
TEST_F(HostWindows, ScriptTargetsCountAClassInRegistrationOrder) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND second = CreateWindowExA(0, "HostTestPlugin", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                nullptr, nullptr, instance, nullptr);
  HWND third = CreateWindowExA(0, "HostTestPlugin", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                               nullptr, nullptr, instance, nullptr);
  // Registered first and hidden, another class and a repeat in the list; `third` never registered.
  const std::vector<HWND> registered = {plugin_, main_, second, plugin_};
  EXPECT_EQ(script::ownWindowsOfClass("hosttestplugin", registered),
            (std::vector<HWND>{plugin_, second, third}));
  DestroyWindow(plugin_);
  EXPECT_EQ(script::ownWindowsOfClass("HostTestPlugin", registered),
            (std::vector<HWND>{second, third}));
  DestroyWindow(second);
  DestroyWindow(third);

  std::string cls, error;
  int n = 0;
  ASSERT_TRUE(script::splitWindowName("KvSlider#2", &cls, &n, &error));
  EXPECT_EQ(cls + "/" + std::to_string(n), "KvSlider/2");
  ASSERT_TRUE(script::splitWindowName("#32770", &cls, &n, &error));  // a class of its own
  EXPECT_EQ(cls + "/" + std::to_string(n), "#32770/1");
  ASSERT_TRUE(script::splitWindowName("#32770#3", &cls, &n, &error));
  EXPECT_EQ(cls + "/" + std::to_string(n), "#32770/3");
  EXPECT_FALSE(script::splitWindowName("KvSlider#0", &cls, &n, &error));
  EXPECT_FALSE(script::splitWindowName("KvSlider#99999999999", &cls, &n, &error));
}

namespace {
DWORD WINAPI pressUpAndEnter(void*) {
  Sleep(400);
  INPUT keys[4] = {};
  const WORD codes[2] = {VK_UP, VK_RETURN};  // Up from nothing selects the last item
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i / 2];
    keys[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys, sizeof keys[0]);
  return 0;
}
}  // namespace

TEST_F(HostWindows, PopupMenuChosenByKeyboardDeliversItsCommand) {
  registerFor(kPluginMessages);
  HostMenu root = MakeMenu("KvSlider");
  MakeMenuNOP(root, "Inert text");
  MakeMenuItem(root, "50%", "@KvSliderConfigure-alpha-slider1-50", false);
  HANDLE keys = CreateThread(nullptr, 0, pressUpAndEnter, nullptr, 0, nullptr);
  ShowMenu(root);  // a real, modal popup
  WaitForSingleObject(keys, 5000);
  CloseHandle(keys);
  DelMenu(root);
  EXPECT_EQ(g_received, std::vector<std::string>{"@KvSliderConfigure-alpha-slider1-50"});
}

TEST_F(HostWindows, HostCommandsAreHandledByTheHost) {
  registerFor(kPluginMessages);
  deliverMenuCommand("@TolvaneReconfigure");
  EXPECT_EQ(g_reloads, 1);
  EXPECT_TRUE(g_received.empty());
  hostState().exeDir = "C:\\Shell\\";
  deliverMenuCommand("@TolvaneStyle styles\\meadow.style");
  EXPECT_EQ(hostState().stylePath, "C:\\Shell\\styles\\meadow.style");
  EXPECT_EQ(g_reloads, 2);
}

TEST_F(HostWindows, AStyleFileChangedOnDiskIsReloaded) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string style =
      std::string(dir) + "watch-" + std::to_string(GetCurrentProcessId()) + ".style";
  HANDLE f = CreateFileA(style.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  setStyle(style, false);
  // A window made after the style is set watches that file.
  DestroyWindow(main_);
  UnregisterClassA("TolvaneToolbar", GetModuleHandleA(nullptr));
  hostState().mainWindow = main_ = createMainWindow(GetModuleHandleA(nullptr));
  registerFor(kPluginMessages);
  auto pump = [](DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < end) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(20);
    }
  };
  pump(1300);
  EXPECT_EQ(g_reloads, 0);  // unchanged: no reload
  WriteString(style.c_str(), "toolbar.color:", "#ff0000");
  f = CreateFileA(style.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                  nullptr);
  FILETIME later;
  GetSystemTimeAsFileTime(&later);
  later.dwHighDateTime += 1;  // well after the first stamp, whatever the file system's grain
  SetFileTime(f, nullptr, nullptr, &later);
  CloseHandle(f);
  pump(1300);
  EXPECT_EQ(g_reloads, 1);
  DeleteFileA(style.c_str());
}

TEST_F(HostWindows, SnappingMovesPendingPositionsOntoTheWorkArea) {
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  WINDOWPOS pos = {plugin_, nullptr, work.left + 7, work.top + 200, 200, 24, 0};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, work.left);
  EXPECT_EQ(pos.y, work.top + 200);
  pos = {plugin_, nullptr, work.right - 195, work.bottom - 30, 200, 24, 0};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, work.right - 200);
  EXPECT_EQ(pos.y, work.bottom - 24);
  pos = {plugin_, nullptr, work.left + 3, work.top + 3, 0, 0, SWP_NOMOVE};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, work.left + 3);
  // Without a size in the request the window's own size counts (10 x 10 here).
  pos = {plugin_, nullptr, work.right - 15, work.top + 50, 0, 0, SWP_NOSIZE};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, work.right - 10);
  SnapWindowToEdge(nullptr, 10, 0);
}

namespace {
// A desk of two monitors side by side, each with a bar along its bottom.
const RECT kMonitors[2] = {{0, 0, 1024, 768}, {1024, -100, 2304, 924}};
const RECT kWorkAreas[2] = {{0, 0, 1024, 740}, {1024, -100, 2304, 900}};

HMONITOR WINAPI deskMonitorFromRect(LPCRECT rect, DWORD) {
  const LONG middle = (rect->left + rect->right) / 2;
  return reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(middle < 1024 ? 1 : 2));
}

BOOL WINAPI deskMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
  const INT_PTR n = reinterpret_cast<INT_PTR>(monitor) - 1;
  if (n < 0 || n > 1 || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = kMonitors[n];
  info->rcWork = kWorkAreas[n];
  info->dwFlags = n == 0 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}
}  // namespace

TEST_F(HostWindows, SnappingUsesTheWorkAreaOfTheMonitorTheWindowIsOn) {
  const MonitorLookup system = monitorLookup();
  monitorLookup() = {deskMonitorFromRect, deskMonitorInfo};
  WINDOWPOS pos = {plugin_, nullptr, 1030, 300, 200, 24, 0};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, 1024);
  EXPECT_EQ(pos.y, 300);
  pos = {plugin_, nullptr, 2099, -95, 200, 24, 0};
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, 2104);
  EXPECT_EQ(pos.y, -100);
  pos = {plugin_, nullptr, 1500, 870, 200, 24, 0};  // bottom of the second work area
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.y, 876);
  pos = {plugin_, nullptr, 820, 710, 200, 24, 0};  // the primary's right and bottom
  SnapWindowToEdge(&pos, 10, 0);
  EXPECT_EQ(pos.x, 824);
  EXPECT_EQ(pos.y, 716);
  monitorLookup() = system;
}

TEST_F(HostWindows, StickyWindowsAreKept) {
  MakeSticky(plugin_);
  MakeSticky(nullptr);
  EXPECT_EQ(hostState().sticky.size(), 1u);
  RemoveSticky(plugin_);
  EXPECT_TRUE(hostState().sticky.empty());
}
