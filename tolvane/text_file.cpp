#include <windows.h>

#include "tolvane/text_file.h"

namespace {
const DWORD kMaxFileSize = 4 * 1024 * 1024;

struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
}  // namespace

bool loadTextFile(const std::string& path, std::string* text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.h == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  const DWORD size = GetFileSize(file.h, &high);
  if (size == INVALID_FILE_SIZE || high != 0 || size > kMaxFileSize) return false;
  std::string data(size, '\0');
  DWORD read = 0;
  if (size > 0 && (!ReadFile(file.h, &data[0], size, &read, nullptr) || read != size)) return false;
  *text = data;
  return true;
}

bool saveTextFileAtomically(const std::string& path, const std::string& text) {
  const std::string tempPath = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  const char* temp = tempPath.c_str();
  {
    FileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        (text.empty() ||
         (WriteFile(file.h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
          written == text.size())) &&
        FlushFileBuffers(file.h);
    if (!ok) {
      CloseHandle(file.h);
      file.h = INVALID_HANDLE_VALUE;
      DeleteFileA(temp);
      return false;
    }
  }
  if (!MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp);
    return false;
  }
  return true;
}
