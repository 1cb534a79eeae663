#pragma once
#include "slider/slider.h"

// A command the host delivered to s's window. The host gives every command to
// every slider: with one slider every command is its own, whatever it names;
// with several, only the one it names acts, and a command naming none (a
// hotkey of a slider removed since) is dropped by all of them without a
// word. "newslider" and "removeslider" change the list of sliders; the rest
// go to the slider itself.
void routeCommand(Slider& s, const char* text);
