#include "tolvane/values.h"

#include <cctype>

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return i == a.size() && b[i] == 0;
}

}  // namespace

bool parseColor(const std::string& text, uint32_t* colorRef) {
  if (text.empty()) return false;
  const std::string hex = text[0] == '#' ? text.substr(1) : text;
  if (hex.size() != 3 && hex.size() != 6) return false;
  uint32_t rgb[3];
  for (size_t i = 0; i < 3; ++i) {
    if (hex.size() == 3) {
      int d = hexDigit(hex[i]);
      if (d < 0) return false;
      rgb[i] = static_cast<uint32_t>(d * 17);
    } else {
      int hi = hexDigit(hex[2 * i]), lo = hexDigit(hex[2 * i + 1]);
      if (hi < 0 || lo < 0) return false;
      rgb[i] = static_cast<uint32_t>(hi * 16 + lo);
    }
  }
  *colorRef = rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
  return true;
}

bool parseBool(const std::string& text, bool* value) {
  for (const char* yes : {"true", "yes", "on", "1"})
    if (equalsIgnoringCase(text, yes)) return *value = true, true;
  for (const char* no : {"false", "no", "off", "0"})
    if (equalsIgnoringCase(text, no)) return *value = false, true;
  return false;
}

bool parseInt(const std::string& text, int* value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long n = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    n = n * 10 + (text[i] - '0');
    if (n > 2147483648LL) return false;
  }
  if (negative) n = -n;
  if (n > 2147483647LL) return false;
  *value = static_cast<int>(n);
  return true;
}
