#pragma once
#include <windows.h>

// The window class every slider window has: its outer procedure answers what
// belongs to the plug-in as a whole (the host's commands, the menu, the
// host's reload) and hands each message on to the window's slider.
bool registerSliderClass(HINSTANCE instance);
void unregisterSliderClass(HINSTANCE instance);
