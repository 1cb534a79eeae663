#pragma once
// Whole notches in a mouse wheel's deltas, free of any platform type.

constexpr int kWheelNotch = 120;  // the system's WHEEL_DELTA

// Adds a delta to what is left of earlier ones and takes out the whole
// notches, signed (positive: up, or tilted right). Precision touchpads send
// fractions of a notch that only count together; a turn the other way drops
// what was left of the old direction. remainder stays within one notch.
int takeWheelNotches(int& remainder, int delta);
