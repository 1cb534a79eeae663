#include "settings/slider_names.h"

#include <cstdio>
#include <cstring>

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// "sliderN" with N in 1..16 written without a leading zero; 0 for anything else.
int numberOf(const char* word, int length) {
  constexpr char kStem[] = "slider";
  constexpr int kStemLength = sizeof kStem - 1;
  if (length < kStemLength + 1 || length > kStemLength + 2) return 0;
  if (std::strncmp(word, kStem, kStemLength) != 0) return 0;
  const char* digits = word + kStemLength;
  const int count = length - kStemLength;
  if (digits[0] < '1' || digits[0] > '9') return 0;
  int n = digits[0] - '0';
  if (count == 2) {
    if (digits[1] < '0' || digits[1] > '9') return 0;
    n = n * 10 + (digits[1] - '0');
  }
  return n <= kMostSliders ? n : 0;
}

bool listed(const int* numbers, int count, int n) {
  for (int i = 0; i < count; ++i)
    if (numbers[i] == n) return true;
  return false;
}

}  // namespace

int parseSliderNames(const char* text, int (&numbers)[kMostSliders]) {
  int count = 0;
  const char* p = text != nullptr ? text : "";
  while (*p != '\0' && count < kMostSliders) {
    while (isBlank(*p)) ++p;
    const char* word = p;
    while (*p != '\0' && !isBlank(*p)) ++p;
    const int n = numberOf(word, static_cast<int>(p - word));
    if (n != 0 && !listed(numbers, count, n)) numbers[count++] = n;
  }
  if (count == 0) numbers[count++] = 1;
  return count;
}

bool formatSliderNames(const int* numbers, int count, char* out, int size) {
  if (size <= 0) return false;
  int at = 0;
  out[0] = '\0';
  for (int i = 0; i < count; ++i) {
    const int written = std::snprintf(out + at, static_cast<size_t>(size - at), "%sslider%d",
                                      i == 0 ? "" : " ", numbers[i]);
    if (written < 0 || written >= size - at) {
      out[0] = '\0';
      return false;
    }
    at += written;
  }
  return true;
}
