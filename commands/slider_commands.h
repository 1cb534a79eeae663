#pragma once
#include "commands/command_text.h"
#include "slider/slider.h"

// "newslider": a new slider with the lowest free number, shaped like s, below
// it (above where below is off every monitor), unbound; its keys and the list
// are written at once. Nothing happens when 16 exist.
bool newSlider(Slider& s, const CommandTokens& t);
// "removeslider": s goes, with its binding and window; the list is written at
// once. The last slider stays.
bool removeSlider(Slider& s, const CommandTokens& t);
