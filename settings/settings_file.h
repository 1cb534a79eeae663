#pragma once

// Finds the settings file and stores its path in settingsPath.
void locateSettings();

// At start: the sliders the file lists, each made and given its own keys
// (a stored binding is restored before its window exists).
void readSliders(const char* path);
// At stop: every slider's keys, and the list.
void writeSliders(const char* path);
// The list alone, at once when a slider is added or removed.
bool writeSliderList(const char* path);
