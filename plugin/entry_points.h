#pragma once
#include <windows.h>

// The three functions the host calls; 0 means success at this boundary.
extern "C" {
__declspec(dllexport) int beginPlugin(HINSTANCE instance);
__declspec(dllexport) void endPlugin(HINSTANCE instance);
__declspec(dllexport) const char* pluginInfo(int index);
}
