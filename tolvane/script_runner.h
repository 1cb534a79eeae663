#pragma once
#include <windows.h>

#include <string>

// Runs the script file on a thread of its own, driving the host's user-interface
// thread through its main window. When the script ends or fails, quits the host
// through `mainWindow` unless the script ended without a "quit" step (the host
// then stays up for a person). False, reported, when it cannot start.
bool startScript(const std::string& path, HWND mainWindow);
// Stops the script at its next step, if it still runs, and waits for its
// thread; on the user-interface thread, after the message loop has ended. A
// script stopped before its end reports the line it stopped at and fails.
void stopScript();
// 0 only when the script ran to its last line or a "quit" step, else 1.
int scriptExitCode();
