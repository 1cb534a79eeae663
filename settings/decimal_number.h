#pragma once
// Decimal text to a 32-bit number, the way commands and the settings file carry
// numbers: leading white space, an optional sign, then digits up to the first
// other character. No digits give 0. Accumulation wraps modulo 2^32, so an
// unsigned identifier printed with "%u" or "%d" comes back as the same 32 bits.
#include <cstdint>

std::uint32_t decimalBits(const char* text);

// The same 32 bits read as a signed number.
std::int32_t decimalToInt32(const char* text);
