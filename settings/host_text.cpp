#include "settings/host_text.h"

#include "host/host_api.h"

bool readText(const char* path, const char* key, const char* defaultText, char (&text)[kTextSize]) {
  const char* stored = ReadString(path, key, defaultText);
  if (stored == nullptr) stored = defaultText;
  lstrcpynA(text, stored, kTextSize);
  return lstrlenA(stored) < kTextSize - 1;
}
