#include "tolvane/main_window.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "host/host_api.h"
#include "host/host_messages.h"
#include "tolvane/host_state.h"

namespace {

const char kClassName[] = "TolvaneToolbar";
const UINT kRunTask = WM_APP + 1;
const UINT kRunPostedTask = WM_APP + 2;
const UINT_PTR kStyleWatch = 1;
const int kWidth = 360, kHeight = 22;
// A message list without its terminator ends here rather than running on.
const int kMaxRegisteredMessages = 64;

FILETIME styleStamp() {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(hostState().stylePath.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

FILETIME g_styleStamp;
std::atomic<bool> g_tasksStopped(false);

void registerWindow(HWND window, const UINT* messages, bool add) {
  if (!window || !messages) return;
  for (int i = 0; i < kMaxRegisteredMessages && messages[i]; ++i) {
    std::vector<HWND>& list = hostState().registered[messages[i]];
    auto at = std::find(list.begin(), list.end(), window);
    if (add && at == list.end()) list.push_back(window);
    if (!add && at != list.end()) list.erase(at);
  }
}

void setStatusText(HWND window, const char* text) {
  char copy[256];
  lstrcpynA(copy, text ? text : "", sizeof copy);
  hostState().statusText = copy;
  if (hostState().verbose) std::printf("host: status \"%s\"\n", copy);
  InvalidateRect(window, nullptr, FALSE);
}

void paintToolbar(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT r;
  GetClientRect(window, &r);
  const char* style = stylePath(nullptr);
  char textureText[256];
  lstrcpynA(textureText, ReadString(style, "toolbar:", "Raised Gradient Vertical"),
            sizeof textureText);
  Texture texture;
  ParseItem(textureText, &texture);
  MakeGradient(dc, r, texture.gradient, ReadColor(style, "toolbar.color:", "#4a5a70"),
               ReadColor(style, "toolbar.colorTo:", "#20283a"), texture.interlaced, texture.bevel,
               texture.bevelPosition, ReadInt(style, "bevelWidth:", 1),
               ReadColor(style, "borderColor:", "#000000"), ReadInt(style, "borderWidth:", 1));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ReadColor(style, "toolbar.textColor:", "#e0e6f0"));
  std::string line = "Tolvane";
  if (!hostState().statusText.empty()) line += "  \xB7  " + hostState().statusText;
  RECT textRect = r;
  textRect.left += 8;
  DrawTextA(dc, line.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  EndPaint(window, &ps);
}

void showHostMenu() {
  HostMenu menu = MakeMenu("Tolvane");
  MakeMenuItem(menu, "Reconfigure", "@TolvaneReconfigure", false);
  MakeMenuItem(menu, "Show plugins", "@KvShowPlugins", false);
  MakeMenuItem(menu, "Hide plugins", "@KvHidePlugins", false);
  HostMenu styles = MakeMenu("Styles");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((hostState().exeDir + "styles\\*.style").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string file = std::string("styles\\") + found.cFileName;
      const bool current = resolvePath(file) == hostState().stylePath;
      MakeMenuItem(styles, found.cFileName, ("@TolvaneStyle " + file).c_str(), current);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  } else {
    MakeMenuNOP(styles, "No styles found.");
  }
  MakeSubmenu(menu, styles, "Styles");
  MakeMenuNOP(menu, "");
  MakeMenuItem(menu, "Quit", "@TolvaneQuit", false);
  ShowMenu(menu);
  DelMenu(menu);
}

void watchStyle(HWND window) {
  const FILETIME now = styleStamp();
  if (CompareFileTime(&now, &g_styleStamp) == 0) return;
  g_styleStamp = now;
  sendReload();
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT runTask(const std::function<bool()>& task) { return !g_tasksStopped && task() ? 1 : 0; }

void runPostedTask(std::function<void()>* task) {
  if (!g_tasksStopped) (*task)();
  delete task;
}

LRESULT CALLBACK toolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case HostMsgRegister:
      registerWindow(reinterpret_cast<HWND>(wParam), reinterpret_cast<const UINT*>(lParam), true);
      return 0;
    case HostMsgUnregister:
      registerWindow(reinterpret_cast<HWND>(wParam), reinterpret_cast<const UINT*>(lParam), false);
      return 0;
    case HostMsgStatusText: setStatusText(window, reinterpret_cast<const char*>(lParam)); return 0;
    case kRunTask: return runTask(*reinterpret_cast<const std::function<bool()>*>(lParam));
    case kRunPostedTask: runPostedTask(reinterpret_cast<std::function<void()>*>(lParam)); return 0;
    case WM_TIMER:
      if (wParam == kStyleWatch) watchStyle(window);
      return 0;
    case WM_PAINT: paintToolbar(window); return 0;
    case WM_RBUTTONUP: showHostMenu(); return 0;
    case WM_CLOSE: requestQuit(); return 0;
    case WM_DESTROY: requestQuit(); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createMainWindow(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = toolbarProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return nullptr;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Tolvane", WS_POPUP | WS_VISIBLE,
                                work.right - kWidth, work.bottom - kHeight, kWidth, kHeight,
                                nullptr, nullptr, instance, nullptr);
  if (window) {
    g_styleStamp = styleStamp();
    SetTimer(window, kStyleWatch, 1000, nullptr);
  }
  return window;
}

bool runOnUiThread(HWND mainWindow, const std::function<bool()>& task) {
  if (g_tasksStopped) return false;
  return SendMessageA(mainWindow, kRunTask, 0, reinterpret_cast<LPARAM>(&task)) != 0;
}

bool postToUiThread(HWND mainWindow, const std::function<void()>& task) {
  if (g_tasksStopped) return false;
  auto* copy = new std::function<void()>(task);
  if (PostMessageA(mainWindow, kRunPostedTask, 0, reinterpret_cast<LPARAM>(copy))) return true;
  delete copy;
  return false;
}

void stopTasks(HWND mainWindow) {
  g_tasksStopped = true;
  MSG msg;
  while (PeekMessageA(&msg, mainWindow, kRunPostedTask, kRunPostedTask, PM_REMOVE))
    DispatchMessageA(&msg);  // deletes the task without running it
}

bool handleHostCommand(const std::string& command) {
  if (command == "@TolvaneReconfigure") {
    sendReload();
    InvalidateRect(hostState().mainWindow, nullptr, FALSE);
    return true;
  }
  if (command == "@TolvaneQuit") {
    requestQuit();
    return true;
  }
  const std::string stylePrefix = "@TolvaneStyle ";
  if (command.compare(0, stylePrefix.size(), stylePrefix) == 0) {
    setStyle(command.substr(stylePrefix.size()), true);
    g_styleStamp = styleStamp();
    InvalidateRect(hostState().mainWindow, nullptr, FALSE);
    return true;
  }
  return false;
}

void deliverMenuCommand(const std::string& command) {
  if (hostState().verbose) std::printf("host: command \"%s\"\n", command.c_str());
  if (handleHostCommand(command)) return;
  sendToRegistered(HostMsgCommand, command.c_str());
}

void requestQuit() {
  // The flag ends the loop even when a modal loop swallows WM_QUIT (the
  // system's move loop does); WM_QUIT wakes a loop waiting for messages.
  hostState().quitRequested = true;
  PostQuitMessage(0);
}

void runMessageLoop() {
  MSG msg;
  while (!hostState().quitRequested && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
