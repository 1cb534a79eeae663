#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The host's own window: a small toolbar showing the status text; the window
// plug-ins know as GetKvWnd, receiving their registrations and status texts.
HWND createMainWindow(HINSTANCE instance);

// Runs `task` on the thread that owns the main window and waits for it; safe
// from any thread, also while that thread is inside a modal loop.
bool runOnUiThread(HWND mainWindow, const std::function<bool()>& task);

// Queues `task` for that thread and returns at once: for work that may open a
// modal box the script itself must then answer.
bool postToUiThread(HWND mainWindow, const std::function<void()>& task);

// Commands the host handles itself ("@TolvaneReconfigure", "@TolvaneQuit",
// "@TolvaneStyle <file>"); false for any other text.
bool handleHostCommand(const std::string& command);

// Stops every plug-in, then closes the main window, which ends the message loop.
void quitHost();
