#pragma once
#include <windows.h>

class Slider;

// The slider a window belongs to, for code that keeps a window handle and
// never a slider (the objects handed out to accessibility clients, which may
// outlive both). Null once the window is gone, for a window that is not a
// slider's (a handle used again), and on any thread but the window's own,
// where its slider must not be touched.
Slider* sliderOfWindow(HWND window);
