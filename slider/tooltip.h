#pragma once
#include <windows.h>

#include "slider/slider.h"

// The tooltip that says what the slider controls and its level. It shows
// while the pointer rests on the slider, during a knob drag and for a moment
// after a wheel step, beside the slider (never over it); it never takes the
// focus. The window is all caption, so the pointer is watched as non-client.
enum TooltipReason : unsigned { kTipPointerRests = 1, kTipDrag = 2, kTipWheel = 4 };

// The slider window's timer that ends the moment after a wheel step or a mute toggle.
constexpr UINT_PTR kTooltipTimer = 1;
constexpr UINT kWheelTipMs = 1500;

void showTooltip(Slider& s, unsigned reason);
void endTooltip(Slider& s, unsigned reasons);  // hides once no reason is left
void refreshTooltip(Slider& s);                // text and place as painted now, if shown
void flashTooltip(Slider& s);                  // shown for a moment after a wheel step
void tooltipMomentOver(Slider& s);             // the timer went off

// Asks for the pointer's rest and leave messages, once per stay on the window;
// false when the pointer is not on the window, and nothing is watched.
bool watchPointer(Slider& s);
void pointerLeft(Slider& s);
// The knob drag has ended: the tooltip stays only while the pointer is still here.
void dragEnded(Slider& s);

void windowHidden(Slider& s);         // every reason ends
void destroyTooltip(Slider& s);       // with the slider window
HWND tooltipWindow(const Slider& s);  // null until first shown
