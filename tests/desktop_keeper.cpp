// Holds wine's desktop open for a whole test run. Soon after the last process
// with a window exits, wine closes its desktop, and from then on every process
// that opens a window waits about a second for a new one: a suite of short
// test processes then spends most of its time there. scripts/test starts this
// once per run; it never shows its window and ends with the run.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                       instance, nullptr))
    return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
