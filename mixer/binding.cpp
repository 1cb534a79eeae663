#include "slider/slider.h"

void Slider::bindControl(unsigned, unsigned, unsigned) {}
void Slider::unbindControl() {}
double Slider::readControlValue() { return -1.0; }
void Slider::writeControlValue() {}
void Slider::handleControlChange(unsigned) {}
void Slider::directNotificationsToWindow() {}
void Slider::releaseAtUnload() {}
