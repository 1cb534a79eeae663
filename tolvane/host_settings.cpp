// The host's settings functions: key/value files read and written whole.
#include <windows.h>

#include <string>

#include "host/host_api.h"
#include "tolvane/host_state.h"
#include "tolvane/rc_text.h"
#include "tolvane/text_file.h"
#include "tolvane/values.h"

namespace {

bool readValue(const char* file, const char* key, std::string* value) {
  std::string text;
  return file && key && loadTextFile(file, &text) && rcFind(text, key, value);
}

bool writeValue(const char* file, const char* key, const std::string& value) {
  // A key that could never be read back would be appended anew on every write.
  if (!file || !key || !rcKeyIsStorable(key)) return false;
  std::string text;
  if (!loadTextFile(file, &text)) {
    if (GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES) return false;  // there, unreadable
    text.clear();
  }
  return saveTextFileAtomically(file, rcSet(text, key, value));
}

// Texts handed to callers stay valid until the next call that returns one.
std::string& returnedText() {
  static std::string text;
  return text;
}

}  // namespace

extern "C" {

HWND GetKvWnd(void) { return hostState().mainWindow; }

BOOL __stdcall GetTolvanePath(char* buffer, int size) {
  const std::string& dir = hostState().exeDir;
  if (!buffer || size <= 0) return FALSE;
  if (dir.size() >= static_cast<size_t>(size)) {
    buffer[0] = 0;
    return FALSE;
  }
  lstrcpynA(buffer, dir.c_str(), size);
  return TRUE;
}

bool FileExists(const char* path) {
  if (!path || !*path) return false;
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const char* stylePath(const char*) { return hostState().stylePath.c_str(); }

int ReadInt(const char* file, const char* key, int defaultValue) {
  std::string text;
  int value = defaultValue;
  if (readValue(file, key, &text) && parseInt(text, &value)) return value;
  return defaultValue;
}

bool ReadBool(const char* file, const char* key, bool defaultValue) {
  std::string text;
  bool value = defaultValue;
  if (readValue(file, key, &text) && parseBool(text, &value)) return value;
  return defaultValue;
}

const char* ReadString(const char* file, const char* key, const char* defaultValue) {
  std::string text;
  returnedText() =
      readValue(file, key, &text) ? text : std::string(defaultValue ? defaultValue : "");
  return returnedText().c_str();
}

COLORREF ReadColor(const char* file, const char* key, const char* defaultValue) {
  std::string text;
  uint32_t color = 0;
  if (readValue(file, key, &text) && parseColor(text, &color)) return color;
  if (defaultValue && parseColor(defaultValue, &color)) return color;
  return 0;
}

bool WriteInt(const char* file, const char* key, int value) {
  return writeValue(file, key, std::to_string(value));
}

bool WriteBool(const char* file, const char* key, bool value) {
  return writeValue(file, key, value ? "true" : "false");
}

bool WriteString(const char* file, const char* key, const char* value) {
  return writeValue(file, key, value ? value : "");
}

}  // extern "C"
