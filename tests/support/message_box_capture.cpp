#include "tests/support/message_box_capture.h"

namespace {
std::vector<CapturedBox>* captured = nullptr;

std::string windowText(HWND window) {
  char buffer[512] = "";
  if (window) GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// The box's icon is a static control showing one of the system icons.
bool showsErrorIcon(HWND box) {
  const HICON hand = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND));
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == hand) return true;
  return false;
}

// Wine hands the box its MSGBOXPARAMSW as the WM_INITDIALOG parameter; the
// style flags asked for are read from there when the window does not show them.
DWORD requestedStyle(LPARAM initParam) {
  const auto* params = reinterpret_cast<const MSGBOXPARAMSW*>(initParam);
  if (params == nullptr || IsBadReadPtr(params, sizeof(*params)) ||
      params->cbSize != sizeof(MSGBOXPARAMSW))
    return 0;
  return params->dwStyle;
}

// Read once the box has initialised itself: only then has it applied MB_TOPMOST.
LRESULT CALLBACK afterMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && captured && msg->message == WM_INITDIALOG) {
    HWND box = msg->hwnd;
    char cls[32] = "";
    GetClassNameA(box, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0) {
      CapturedBox b;
      b.text = windowText(GetDlgItem(box, 0xFFFF));
      b.caption = windowText(box);
      b.owner = GetWindow(box, GW_OWNER);
      b.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ||
                  (requestedStyle(msg->lParam) & MB_TOPMOST) != 0;
      b.errorIcon = showsErrorIcon(box);
      captured->push_back(b);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

MessageBoxCapture::MessageBoxCapture()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROCRET, afterMessageHook, nullptr, GetCurrentThreadId())) {
  captured = new std::vector<CapturedBox>;
}

MessageBoxCapture::~MessageBoxCapture() {
  UnhookWindowsHookEx(hook_);
  delete captured;
  captured = nullptr;
}

const std::vector<CapturedBox>& MessageBoxCapture::boxes() const { return *captured; }
