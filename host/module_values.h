#pragma once
#include <windows.h>

// What every part of the plug-in may need to know of its place in the host,
// all of it zero until beginPlugin runs. Each slider owns the rest.
constexpr int kPathSize = 260;
constexpr int kTextSize = 256;

extern HINSTANCE moduleInstance;
extern HWND hostWindow;
extern bool layeredWindowsAvailable;
extern char settingsPath[kPathSize];

extern const char kPluginTitle[];  // "KvSlider 0.1.1", the caption of every box

// Keeps this module's code loaded for the rest of the process: for a thread
// or an object of the plug-in's that may outlive its stop and unloading.
void keepModuleLoaded();
