#pragma once
// The slider as accessibility clients see it (what NVDA and older screen
// readers read): an IAccessible of its own for the window's client object,
// a slider with its name, value and state, and a UI Automation provider
// (slider/automation.h). Both are made at the first request and disconnected
// when the window goes.
#include "slider/slider.h"

// WM_GETOBJECT: OBJID_CLIENT and UiaRootObjectId are answered here; for any
// other object, or when an answer cannot be made, the system answers.
LRESULT answerObjectRequest(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam);
// The slider's IAccessible, made on first need; null when it cannot be made.
IAccessible* accessibleFor(Slider& s);
// Every object handed out is cut off from its clients and answers errors from
// then on. While the window still exists: at its WM_DESTROY.
void disconnectClients(Slider& s);
