#pragma once
#include <string>
#include <vector>

// Loads each plug-in and starts it with beginPlugin; one that cannot be loaded
// or whose start returns non-zero is reported and left out. Returns how many run.
int loadPlugins(const std::vector<std::string>& paths);
// endPlugin and FreeLibrary for every running plug-in, last loaded first.
void unloadPlugins();
