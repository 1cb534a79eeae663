#pragma once
#include "settings/slider_names.h"
#include "settings/stored_binding.h"
#include "slider/slider.h"

// Finds the settings file and stores its path in settingsPath.
void locateSettings();

// A slider's own keys, read at start (a stored binding is restored as far
// as it can be before the window exists: see stored) and written at stop.
void readSliderSettings(Slider& s, StoredBinding& stored, const char* path);
void writeSliderSettings(const Slider& s, const StoredBinding& stored, const char* path);

// The list of sliders: which there are, by number, in the order they were made.
int readSliderList(const char* path, int (&numbers)[kMostSliders]);
bool writeSliderList(const char* path, const int* numbers, int count);
