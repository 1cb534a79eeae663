// One line of a host script: quoting and escapes on any text.
#include <cstdint>
#include <string>

#include "tolvane/script_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  ScriptLine out;
  std::string error;
  if (!splitScriptLine(line, &out, &error) && error.empty()) __builtin_trap();
  return 0;
}
