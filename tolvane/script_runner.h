#pragma once
#include <windows.h>

#include <string>

// Runs the script file on a thread of its own, driving the host's user-interface
// thread through its main window. When the script ends or fails, quits the host
// through `mainWindow` unless the script ended without a "quit" step (the host
// then stays up for a person). The exit code is read with scriptExitCode().
bool startScript(const std::string& path, HWND mainWindow);
int scriptExitCode();
