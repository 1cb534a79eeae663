// Command texts from the host: the broadcast and prefix tests, the split into
// at most six tokens and the number conversion, on any bytes. Mirrors the
// plug-in's dispatch so that every path a command can take is driven.
#include <cstdint>
#include <cstring>
#include <string>

#include "commands/command_text.h"
#include "settings/decimal_number.h"

namespace {
void check(bool ok) {
  if (!ok) __builtin_trap();
}

void checkTokens(const CommandTokens& t) {
  check(t.count >= 0 && t.count <= kMaxCommandTokens);
  check(std::strlen(t.copy) < static_cast<size_t>(kCommandCopySize));
  for (int i = 0; i < t.count; ++i) {
    check(t.token[i] >= t.copy && t.token[i] < t.copy + kCommandCopySize);
    check(t.token[i][0] != '\0');
    check(std::strchr(t.token[i], '-') == nullptr);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // stops at the first NUL
  const char* c = text.c_str();
  if (sameTextIgnoringCase(c, "@KvShowPlugins") || sameTextIgnoringCase(c, "@KvHidePlugins"))
    return 0;
  CommandTokens tokens;
  tokeniseCommand(c, tokens);
  checkTokens(tokens);
  if (hasConfigurePrefix(c)) check(tokens.count >= 1);
  for (int i = 0; i < tokens.count; ++i) {
    const std::uint32_t bits = decimalBits(tokens.token[i]);
    check(static_cast<std::uint32_t>(decimalToInt32(tokens.token[i])) == bits);
    std::uint32_t percent = 0;
    if (strictNumber(tokens, i, 100, percent)) check(percent <= 100);
  }
  // A number printed with %u comes back as the same 32 bits.
  if (size >= 4) {
    std::uint32_t v;
    std::memcpy(&v, data, 4);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%u", v);
    check(decimalBits(printed) == v);
    std::snprintf(printed, sizeof printed, "%d", static_cast<int>(v));
    check(decimalBits(printed) == v);
  }
  return 0;
}
