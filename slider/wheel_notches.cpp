#include "slider/wheel_notches.h"

int takeWheelNotches(int& remainder, int delta) {
  if ((delta > 0 && remainder < 0) || (delta < 0 && remainder > 0)) remainder = 0;
  const long long sum = static_cast<long long>(remainder) + delta;  // cannot overflow
  const long long notches = sum / kWheelNotch;                      // toward zero
  remainder = static_cast<int>(sum - notches * kWheelNotch);
  return static_cast<int>(notches);
}
