#include "mixer/app_identity.h"

#include <cstring>

#include "mixer/endpoint_device.h"

namespace {

typedef BOOL(WINAPI* QueryImageFn)(HANDLE, DWORD, LPWSTR, PDWORD);
typedef HRESULT(WINAPI* LoadIndirectFn)(LPCWSTR, LPWSTR, UINT, void**);

constexpr int kPathChars = 1024;

// Looked up by name, each time it is needed (rarely: at a bind, a menu, a new
// session): systems before Vista lack the first, and the second lives in a
// library the plug-in does not otherwise load.
QueryImageFn queryImage() {
  return reinterpret_cast<QueryImageFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("KERNEL32"), "QueryFullProcessImageNameW")));
}

// The library stays loaded while the text is read, and is let go after.
class Shlwapi {
 public:
  Shlwapi() : module_(LoadLibraryA("SHLWAPI.DLL")) {}
  ~Shlwapi() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Shlwapi(const Shlwapi&) = delete;
  Shlwapi& operator=(const Shlwapi&) = delete;
  LoadIndirectFn loadIndirect() const {
    return module_ != nullptr ? reinterpret_cast<LoadIndirectFn>(reinterpret_cast<void*>(
                                    GetProcAddress(module_, "SHLoadIndirectString")))
                              : nullptr;
  }

 private:
  HMODULE module_;
};

// An "@dll,-id" name; the library is loaded only for such a name (loading it
// costs a millisecond or more under wine: not for every session of a menu).
void resolveIndirect(const wchar_t* text, wchar_t (&resolved)[kAppNameSize]) {
  const Shlwapi shlwapi;
  const LoadIndirectFn load = shlwapi.loadIndirect();
  if (load == nullptr || FAILED(load(text, resolved, kAppNameSize, nullptr))) resolved[0] = L'\0';
}

// The process handle is closed on every way out.
class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD process)
      : handle_(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process)) {}
  ~ProcessHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool imageOfProcess(DWORD process, wchar_t (&path)[kPathChars]) {
  const QueryImageFn query = queryImage();
  if (query == nullptr || process == 0) return false;
  const ProcessHandle handle(process);
  DWORD size = kPathChars;
  return handle.get() != nullptr && query(handle.get(), 0, path, &size) != FALSE;
}

const wchar_t* fileNameOf(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* p = path; *p != L'\0'; ++p)
    if (*p == L'\\' || *p == L'/') name = p + 1;
  return name;
}

// "{endpoint}|\Device\...\player.exe%b{...}": the image path between the "|"
// and the last "%b" (a folder or a file may hold "%b" itself). The system
// writes "#" where the session has no image of its own.
bool imageOfIdentifier(IAudioSessionControl2* session, wchar_t (&path)[kPathChars]) {
  TaskText identifier;
  if (FAILED(session->GetSessionIdentifier(identifier.out()))) return false;
  const wchar_t* from = identifier.text();
  while (*from != L'\0' && *from != L'|') ++from;
  if (*from == L'\0') return false;
  ++from;
  int length = -1;
  for (int i = 0; from[i] != L'\0'; ++i)
    if (from[i] == L'%' && from[i + 1] == L'b') length = i;
  if (length <= 0 || length >= kPathChars) return false;
  lstrcpynW(path, from, length + 1);
  const wchar_t* name = fileNameOf(path);
  return name[0] != L'\0' && lstrcmpW(name, L"#") != 0;
}

// Lower case for every script, the same whatever the user's language: the
// name is matched byte for byte and stored.
void lowerCase(wchar_t* text, int length) {
  if (LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text, length, text, length) == 0)
    CharLowerBuffW(text, static_cast<DWORD>(length));
}

}  // namespace

bool imageNameToText(const wchar_t* name, char (&image)[kAppImageSize]) {
  image[0] = '\0';
  wchar_t lower[kPathChars];
  const int length = lstrlenW(name);
  if (length == 0 || length >= kPathChars) return false;
  lstrcpynW(lower, name, kPathChars);
  lowerCase(lower, length);
  const int written =
      WideCharToMultiByte(CP_UTF8, 0, lower, length, image, kAppImageSize - 1, nullptr, nullptr);
  // Too long to be stored whole: no name rather than a cut one.
  if (written <= 0 || written > kLongestStoredImage) return image[0] = '\0', false;
  image[written] = '\0';
  return true;
}

bool storedImageName(const char* text, char (&image)[kAppImageSize]) {
  image[0] = '\0';
  if (std::strcmp(text, kSystemSounds) == 0) {
    lstrcpynA(image, kSystemSounds, kAppImageSize);
    return true;
  }
  wchar_t wide[kPathChars];
  const int read = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide, kPathChars);
  return read > 1 && imageNameToText(wide, image);
}

bool sessionImage(IAudioSessionControl2* session, char (&image)[kAppImageSize]) {
  image[0] = '\0';
  if (session->IsSystemSoundsSession() == S_OK) {
    lstrcpynA(image, kSystemSounds, kAppImageSize);
    return true;
  }
  wchar_t path[kPathChars] = L"";
  DWORD process = 0;
  if (!imageOfIdentifier(session, path) &&
      !(SUCCEEDED(session->GetProcessId(&process)) && imageOfProcess(process, path)))
    return false;
  return imageNameToText(fileNameOf(path), image);
}

void appNameOfImage(const char* image, char (&name)[kAppNameSize]) {
  if (std::strcmp(image, kSystemSounds) == 0) {
    lstrcpynA(name, "System sounds", kAppNameSize);
    return;
  }
  wchar_t wide[kAppImageSize] = L"";
  if (MultiByteToWideChar(CP_UTF8, 0, image, -1, wide, kAppImageSize) == 0) wide[0] = L'\0';
  wchar_t* dot = nullptr;
  for (wchar_t* p = wide; *p != L'\0'; ++p)
    if (*p == L'.') dot = p;
  if (dot != nullptr && dot != wide) *dot = L'\0';
  narrowToFit(wide, name, kAppNameSize);
}

void sessionAppName(IAudioSessionControl2* session, const char* image, char (&name)[kAppNameSize]) {
  name[0] = '\0';
  TaskText display;
  wchar_t resolved[kAppNameSize] = L"";
  if (std::strcmp(image, kSystemSounds) != 0 && SUCCEEDED(session->GetDisplayName(display.out()))) {
    const wchar_t* text = display.text();
    if (text[0] != L'@')
      lstrcpynW(resolved, text, kAppNameSize);
    else
      resolveIndirect(text, resolved);
  }
  if (resolved[0] != L'\0')
    narrowToFit(resolved, name, kAppNameSize);
  else
    appNameOfImage(image, name);
}
