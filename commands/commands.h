#pragma once
#include "commands/command_text.h"
#include "slider/slider.h"

// A command text the host delivered to s: the plug-ins' show and hide
// broadcasts, or a configuration command ("@KvSliderConfigure-…"). Other
// texts are ignored without a word. Which slider a command is for, and the
// commands about the list of sliders, are decided above this.
void handleCommand(Slider& s, const char* text);
// A configuration command, cut into its tokens. Malformed: the box, and
// nothing changes.
void handleConfigureCommand(Slider& s, const CommandTokens& t);
// The box every malformed configuration command gets.
void showInvalidArguments();
