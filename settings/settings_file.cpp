#include "settings/settings_file.h"

#include "plugin/module_state.h"

void locateSettings() {}

void Slider::readSettings(const char*) {}

void Slider::writeSettings(const char*) {}
