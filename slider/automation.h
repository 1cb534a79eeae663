#pragma once
// The slider's UI Automation provider (what Narrator reads): a slider control
// with its name, focus and enabled state, and the RangeValue pattern over the
// level in per cent. Made at the first request, disconnected when the window
// goes; it reaches the slider through its window only.
#include "slider/slider.h"

// WM_GETOBJECT for UiaRootObjectId; false where uiautomationcore is missing or
// memory is short, and the system answers for the window instead.
bool answerAutomationRequest(Slider& s, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The slider's provider, made on first need; null when it cannot be made.
IRawElementProviderSimple* automationProviderFor(Slider& s);
// UI Automation lets go of the provider, which answers
// UIA_E_ELEMENTNOTAVAILABLE from then on. Before the window goes.
void disconnectAutomation(Slider& s);
// The RangeValue value changed (or the mute did, which it stands beside).
void raiseLevelChanged(Slider& s, int oldPercent, int newPercent);
