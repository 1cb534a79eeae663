#pragma once
#include "slider/slider_style.h"

// Reads the host's current style file into sliderStyle.
void readStyle();
