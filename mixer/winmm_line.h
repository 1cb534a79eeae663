#pragma once
#include "mixer/winmm_control.h"

// What the bound control's line offers besides the volume: the name a user
// knows it by and its mute control, if it has one. Called once bound.
void learnWinmmLine(WinmmControl& c);
