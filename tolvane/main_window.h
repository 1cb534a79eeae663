#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The host's own window: a small toolbar showing the status text; the window
// plug-ins know as GetKvWnd, receiving their registrations and status texts.
HWND createMainWindow(HINSTANCE instance);

// Runs `task` on the thread that owns the main window and waits for it; safe
// from any thread, also while that thread is inside a modal loop. False when
// the task returned false or was turned away (see stopTasks).
bool runOnUiThread(HWND mainWindow, const std::function<bool()>& task);

// Queues `task` for that thread and returns at once: for work that may open a
// modal box the script itself must then answer.
bool postToUiThread(HWND mainWindow, const std::function<void()>& task);

// From now on tasks from other threads are turned away, and those still
// queued are dropped without running. Called on the main window's thread.
void stopTasks(HWND mainWindow);

// Commands the host handles itself ("@TolvaneReconfigure", "@TolvaneQuit",
// "@TolvaneStyle <file>"); false for any other text.
bool handleHostCommand(const std::string& command);

// Delivers a chosen menu item's command as a click would: the host's own
// commands here, any other to every window registered for HostMsgCommand.
void deliverMenuCommand(const std::string& command);

// Ends the message loop at its next turn. Plug-ins are stopped only after the
// loop: this may run inside a plug-in's modal loop (a message box, a window
// move, a popup menu), and a plug-in unloaded there would return into nothing.
void requestQuit();

// Dispatches the thread's messages until a quit is requested.
void runMessageLoop();
