#pragma once
#include <windows.h>

#include "host/host_api.h"
#include "host/host_messages.h"

// What the sliders share, module-wide; all of it zero until beginPlugin runs.
// Each slider owns the rest (plugin/slider_list.h holds the list of them).
constexpr int kPathSize = 260;
constexpr int kTextSize = 256;

extern HINSTANCE moduleInstance;
extern HWND hostWindow;
extern bool layeredWindowsAvailable;
extern char settingsPath[kPathSize];
extern HostMenu configMenu;  // the last menu shown, whichever slider's
// The list of host messages every slider window receives, 0-terminated.
extern const unsigned hostMessages[3];

extern const char kPluginTitle[];  // "KvSlider 0.1.1", the caption of every box

LRESULT CALLBACK outerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
