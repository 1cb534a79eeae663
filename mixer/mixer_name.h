#pragma once
#include <cstring>

// A name from a mixer driver, terminated. Drivers fill the whole fixed field
// when the name is that long and leave no terminator, so the field is read up
// to its own end and no further.
template <size_t FieldSize>
struct MixerName {
  char text[FieldSize + 1];

  explicit MixerName(const char (&field)[FieldSize]) {
    const void* end = std::memchr(field, '\0', FieldSize);
    const size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - field) : FieldSize;
    std::memcpy(text, field, length);
    text[length] = '\0';
  }
};
