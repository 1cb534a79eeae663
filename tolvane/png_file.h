#pragma once
// Screenshots as PNG files.
#include <cstdint>
#include <string>

// Writes `pixels`, rows top-down of 0x00rrggbb values as a 32-bit bitmap holds
// them, as an 8-bit RGB PNG file. False, with the reason, when it cannot.
bool writePngFile(const std::string& path, const uint32_t* pixels, int width, int height,
                  std::string* error);
