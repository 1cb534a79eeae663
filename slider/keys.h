#pragma once
// The keyboard. A slider takes the focus when clicked or from its focus
// command; while it has it, the arrows step the level by the wheel step
// (right and up louder), Page Up and Page Down by 10 per cent, Home and End go
// to 0 and 100 per cent, Space and M toggle the mute. Each press, a repeat
// too, is one write, as a wheel notch is, and the tooltip shows what the
// device took; a held mute key toggles once. Unbound, or during a knob drag,
// the keys do nothing.
#include "slider/slider.h"

constexpr double kPageStep = 10.0;  // per cent, for Page Up and Page Down

LRESULT onKeyDown(Slider& s, HWND hwnd, WPARAM key, LPARAM lParam);
// WM_SETFOCUS and WM_KILLFOCUS: the focus rectangle shows only while it is here.
LRESULT focusChanged(Slider& s, bool has);
// Brings the window forward and gives it the focus; a hidden slider stays as it is.
void takeFocus(Slider& s);
