// The substitute host's settings-file text: finding and setting keys in any
// text. A set value is found again, and a set never changes another key's entry.
#include <cstdint>
#include <string>

#include "tolvane/rc_text.h"

namespace {
void check(bool ok) {
  if (!ok) __builtin_trap();
}

std::string trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n\v\f");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t\r\n\v\f") - b + 1);
}
}  // namespace

// Input: key, a 0xFF byte, value, a 0xFF byte, then the file text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  const size_t a = all.find('\xff');
  if (a == std::string::npos) return 0;
  const size_t b = all.find('\xff', a + 1);
  if (b == std::string::npos) return 0;
  const std::string key = all.substr(0, a);
  const std::string value = all.substr(a + 1, b - a - 1);
  const std::string text = all.substr(b + 1);

  std::string found;
  rcFind(text, key, &found);
  rcFindAll(text, key);
  // Keys and values reach the host as C strings, so they never hold a NUL.
  const std::string lineEnds("\r\n\0", 3);
  if (!rcKeyIsStorable(key) || key.find('\0') != std::string::npos ||
      value.find_first_of(lineEnds) != std::string::npos)
    return 0;

  const std::string updated = rcSet(text, key, value);
  std::string back;
  check(rcFind(updated, key, &back));
  check(back == trimmed(value));
  // Setting the same value again changes nothing.
  check(rcSet(updated, key, value) == updated);
  return 0;
}
