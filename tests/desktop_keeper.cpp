// Holds wine's desktop open for a whole test run. Soon after the last process
// with a window exits, wine closes its desktop, and from then on every process
// that opens a window waits about a second for a new one: a suite of short
// test processes then spends most of its time there. scripts/test starts this
// once per run; it never shows its window and ends with the run. Once its
// window exists, so does the desktop: it then makes the file its command line
// names, so that nothing starts while the desktop is still being made (two
// processes making it at once can leave one of them without windows).
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (!CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                       instance, nullptr))
    return 1;
  if (commandLine != nullptr && commandLine[0] != '\0') {
    HANDLE ready = CreateFileA(commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
