#pragma once
#include "commands/command_text.h"
#include "slider/slider.h"

// The commands that let the shell's hotkeys and scripts drive the volume:
// "volume" sets P per cent, "volumeup" and "volumedown" step by P per cent or,
// without P, by the wheel step, "mutetoggle" flips the mute. Results clamp at
// 0 and 100. Unbound (or with nothing to mute) they do nothing and say
// nothing: a hotkey pressed at the wrong moment must not interrupt the user.
// A P that is not plain digits is refused (false), and nothing changes.
bool setVolume(Slider& s, const CommandTokens& t);
bool volumeUp(Slider& s, const CommandTokens& t);
bool volumeDown(Slider& s, const CommandTokens& t);
bool muteToggle(Slider& s, const CommandTokens& t);
