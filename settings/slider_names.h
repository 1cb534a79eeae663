#pragma once
// The settings file's list of sliders ("slider1 slider3 slider2"), free of any
// platform type so that it can be tested and fuzzed natively.

constexpr int kMostSliders = 16;

// The slider numbers the text names, in its order: words "slider" and a number
// from 1 to 16 without a leading zero, each once, at most 16. Other words are
// dropped. A text that names none (empty, absent, all of it unreadable) means
// slider1, so there is always at least one.
int parseSliderNames(const char* text, int (&numbers)[kMostSliders]);

// The names separated by single spaces; false (and out empty) when they do not fit.
bool formatSliderNames(const int* numbers, int count, char* out, int size);
