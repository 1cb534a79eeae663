// The settings file's list of sliders, from any text: at least one slider and
// at most sixteen, each once and in 1..16, and what is written reads back the same.
#include <cstdint>
#include <cstring>
#include <string>

#include "settings/slider_names.h"

namespace {
void check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // stops at the first NUL
  int numbers[kMostSliders];
  const int count = parseSliderNames(text.c_str(), numbers);
  check(count >= 1 && count <= kMostSliders);
  for (int i = 0; i < count; ++i) {
    check(numbers[i] >= 1 && numbers[i] <= kMostSliders);
    for (int j = 0; j < i; ++j) check(numbers[j] != numbers[i]);
  }
  char written[256];
  check(formatSliderNames(numbers, count, written, sizeof written));
  int again[kMostSliders];
  check(parseSliderNames(written, again) == count);
  check(std::memcmp(again, numbers, sizeof(int) * static_cast<size_t>(count)) == 0);
  char small[8];
  check(!formatSliderNames(numbers, count, small, sizeof small) || count == 1);
  return 0;
}
