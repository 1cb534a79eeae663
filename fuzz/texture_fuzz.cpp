// Texture words and the value spellings of style files, on any text.
#include <cstdint>
#include <cstring>
#include <string>

#include "tolvane/texture_words.h"
#include "tolvane/values.h"

namespace {
void check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The host is handed a writable copy with 16 guard bytes behind the record.
  unsigned char record[sizeof(Texture) + 16];
  std::memset(record, 0xA5, sizeof record);
  Texture* texture = reinterpret_cast<Texture*>(record);
  parseTextureWords(text.c_str(), texture);
  for (size_t i = sizeof(Texture); i < sizeof record; ++i) check(record[i] == 0xA5);
  check(texture->bevel >= ReliefFlat && texture->bevel <= ReliefSunken);
  check(texture->gradient >= FillSolid && texture->gradient <= FillPyramid);

  uint32_t colour = 0;
  if (parseColor(text, &colour)) check((colour & 0xFF000000u) == 0);
  bool flag;
  parseBool(text, &flag);
  int number;
  parseInt(text, &number);
  return 0;
}
