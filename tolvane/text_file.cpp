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

// Writes and flushes a new file; a half-written one is removed.
bool writeWholeFile(const std::string& path, const std::string& text) {
  bool ok = false;
  {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ok = (text.empty() ||
          (WriteFile(file.h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size())) &&
         FlushFileBuffers(file.h);
  }
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

// ReplaceFileA keeps the replaced file's attributes, streams and security;
// wine's does not carry the attributes over, so they are put back.
bool replaceKeepingAttributes(const std::string& path, const std::string& temp, DWORD attributes) {
  if (!ReplaceFileA(path.c_str(), temp.c_str(), nullptr, 0, nullptr, nullptr)) {
    // Without a backup name this error means the old file is already gone:
    // the new text is then the best there is.
    if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ||
        !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
      return false;
  }
  if (GetFileAttributesA(path.c_str()) != attributes) SetFileAttributesA(path.c_str(), attributes);
  return true;
}

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
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only mark is the owner's word that the file stays as it is; not every
  // file system refuses to rename over it, so it is honoured here.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
  const std::string tempPath = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  if (!writeWholeFile(tempPath, text)) return false;
  if (!(exists ? replaceKeepingAttributes(path, tempPath, attributes)
               : MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))) {
    DeleteFileA(tempPath.c_str());
    return false;
  }
  return true;
}
