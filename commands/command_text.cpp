#include "commands/command_text.h"

namespace {
constexpr char kSeparator = '-';
constexpr char kConfigurePrefix[] = "@KvSliderConfigure";

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

void tokeniseCommand(const char* text, CommandTokens& out) {
  int length = 0;
  if (text != nullptr)
    for (; length < kCommandCopySize - 1 && text[length] != '\0'; ++length)
      out.copy[length] = text[length];
  out.copy[length] = '\0';

  out.count = 0;
  char* p = out.copy;
  while (out.count < kMaxCommandTokens) {
    while (*p == kSeparator) ++p;
    if (*p == '\0') break;
    out.token[out.count++] = p;
    while (*p != '\0' && *p != kSeparator) ++p;
    if (*p == '\0') break;
    *p++ = '\0';  // like the standard tokeniser, the separator ending a token is consumed
  }
  for (int i = out.count; i < kMaxCommandTokens; ++i) out.token[i] = nullptr;
}

bool sameTextIgnoringCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (lowerAscii(*a) != lowerAscii(*b)) return false;
  return *a == *b;
}

bool hasConfigurePrefix(const char* text) {
  if (text == nullptr) return false;
  for (int i = 0; kConfigurePrefix[i] != '\0'; ++i)
    if (text[i] != kConfigurePrefix[i]) return false;  // also stops at a shorter text's end
  return true;
}

bool strictNumber(const CommandTokens& t, int index, std::uint32_t limit, std::uint32_t& value) {
  if (index < 0 || index >= t.count) return false;
  const char* p = t.token[index];
  if (p > t.copy && p[-1] == kSeparator) return false;  // "--5": a minus sign
  std::uint32_t n = 0;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    const std::uint64_t next = n * 10ull + static_cast<std::uint64_t>(*p - '0');  // n <= limit
    n = next > limit ? limit : static_cast<std::uint32_t>(next);
  }
  value = n;
  return true;
}
