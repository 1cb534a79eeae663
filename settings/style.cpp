#include "settings/style.h"

SliderStyle sliderStyle;

void readStyle() {}
