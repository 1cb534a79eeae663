#include "settings/decimal_number.h"

namespace {
// The C locale's white space, without isspace's trap for negative chars.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

std::uint32_t decimalBits(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (isBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // Unsigned arithmetic: the wrap-around is defined, never an overflow.
  std::uint32_t n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = n * 10u + static_cast<std::uint32_t>(*p - '0');
  return negative ? 0u - n : n;
}

std::int32_t decimalToInt32(const char* text) {
  const std::uint32_t bits = decimalBits(text);
  // Two's complement reinterpretation, spelled out so that it is defined everywhere.
  return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                             : -static_cast<std::int32_t>(~bits) - 1;
}
