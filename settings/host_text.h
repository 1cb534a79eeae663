#pragma once
#include "host/module_values.h"

// A text value of the settings file, copied at once: the next host call may
// reuse the host's. False when the text may have been cut: the host hands
// out at most 255 bytes.
bool readText(const char* path, const char* key, const char* defaultText, char (&text)[kTextSize]);
