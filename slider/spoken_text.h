#pragma once
// What a screen reader says of a slider, the same through either interface.
#include <windows.h>

#include <oleauto.h>

#include "slider/slider.h"

// Room for a bound name (at most 255 bytes) with " (not bound)" after it.
constexpr int kSpokenTextSize = 272;

// The level as the tooltip shows it: whole per cent.
int wholePercent(double level);
// What is bound, as the tooltip names it; "Volume (not bound)" while unbound.
void spokenName(const Slider& s, char (&text)[kSpokenTextSize]);
// "42%", or "muted"; empty while unbound.
void spokenValue(const Slider& s, char (&text)[kSpokenTextSize]);
// A copy for a client, which frees it; null when out of memory.
BSTR newClientText(const char* text);
