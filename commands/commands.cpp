#include "slider/slider.h"

void Slider::handleCommand(const char*) {}
void Slider::handleConfigureCommand(const char*) {}
