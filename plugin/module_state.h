#pragma once
#include <windows.h>

#include "host/host_api.h"
#include "host/host_messages.h"
#include "slider/slider.h"

// Module-wide state of the plug-in; all of it zero until beginPlugin runs.
constexpr int kPathSize = 260;
constexpr int kTextSize = 256;

extern Slider slider;
extern HINSTANCE moduleInstance;
extern HWND hostWindow;
extern bool layeredWindowsAvailable;
extern char settingsPath[kPathSize];
extern HostMenu configMenu;
// Set when the process, not just this module, is going away: winmm may already be gone then.
extern bool processExiting;
// The list of host messages the slider window receives, 0-terminated.
extern const unsigned hostMessages[3];

extern const char kPluginTitle[];  // "KvSlider 0.1.1", the caption of every box

LRESULT CALLBACK outerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
