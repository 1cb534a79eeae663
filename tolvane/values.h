#pragma once
// Values as settings and style files spell them.
#include <cstdint>
#include <string>

// "#rrggbb", "#rgb", or the same without '#'; the result is a Windows colour
// reference (0x00bbggrr).
bool parseColor(const std::string& text, uint32_t* colorRef);
// true/false, yes/no, on/off, 1/0, any letter case.
bool parseBool(const std::string& text, bool* value);
// Optional sign and decimal digits only; values beyond 32 bits are refused.
bool parseInt(const std::string& text, int* value);
