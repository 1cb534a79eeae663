#include "settings/settings_path.h"

namespace {
bool isSeparator(char c) { return c == '\\' || c == '/'; }

int textLength(const char* text) {
  int n = 0;
  while (text[n] != '\0') ++n;
  return n;
}
}  // namespace

int directoryLength(const char* path) {
  int length = 0;
  for (int i = 0; path[i] != '\0'; ++i)
    if (path[i] == '\\') length = i + 1;
  return length;
}

bool joinDirectoryAndName(char* out, int capacity, const char* directory, int length,
                          const char* name) {
  if (capacity <= 0) return false;
  out[0] = '\0';
  if (length < 0) return false;
  const bool addSeparator = length > 0 && !isSeparator(directory[length - 1]);
  const int nameLength = textLength(name);
  // Compared as differences so that no sum can overflow.
  const int room = capacity - 1 - (addSeparator ? 1 : 0);
  if (length > room || nameLength > room - length) return false;

  int n = 0;
  for (int i = 0; i < length; ++i) out[n++] = directory[i];
  if (addSeparator) out[n++] = '\\';
  for (int i = 0; i < nameLength; ++i) out[n++] = name[i];
  out[n] = '\0';
  return true;
}
