#pragma once
// What a slider keeps for keyboard users and screen readers.
#include <windows.h>

struct AccessibleState {
  bool focused;  // the window has the keyboard focus (and shows its focus rectangle)
};
