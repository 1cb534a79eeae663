#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The screen's pixels inside `area` (screen coordinates), rows top-down,
// 0x00rrggbb. False when the area is empty or cannot be read.
bool captureScreen(const RECT& area, std::vector<uint32_t>* pixels);
// The same area saved as a PNG file.
bool saveScreenPng(const RECT& area, const std::string& path, std::string* error);
