#pragma once

// Finds the settings file and stores its path in settingsPath.
void locateSettings();
