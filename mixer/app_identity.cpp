#include "mixer/app_identity.h"

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

bool imageOfProcess(DWORD process, wchar_t (&path)[kPathChars]) {
  const QueryImageFn query = queryImage();
  if (query == nullptr || process == 0) return false;
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) return false;
  DWORD size = kPathChars;
  const bool read = query(handle, 0, path, &size) != FALSE;
  CloseHandle(handle);
  return read;
}

// "{endpoint}|\Device\...\player.exe%b{...}": the image path between the
// first "|" and the "%b" after it.
bool imageOfIdentifier(IAudioSessionControl2* session, wchar_t (&path)[kPathChars]) {
  TaskText identifier;
  if (FAILED(session->GetSessionIdentifier(identifier.out()))) return false;
  const wchar_t* from = identifier.text();
  while (*from != L'\0' && *from != L'|') ++from;
  if (*from == L'\0') return false;
  ++from;
  int length = 0;
  while (from[length] != L'\0' && !(from[length] == L'%' && from[length + 1] == L'b')) ++length;
  if (from[length] == L'\0' || length == 0 || length >= kPathChars) return false;
  lstrcpynW(path, from, length + 1);
  return true;
}

const wchar_t* fileNameOf(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* p = path; *p != L'\0'; ++p)
    if (*p == L'\\' || *p == L'/') name = p + 1;
  return name;
}

}  // namespace

bool sessionImage(IAudioSessionControl2* session, char (&image)[kAppNameSize], bool quick) {
  image[0] = '\0';
  if (session->IsSystemSoundsSession() == S_OK) {
    lstrcpynA(image, kSystemSounds, kAppNameSize);
    return true;
  }
  wchar_t path[kPathChars] = L"";
  DWORD process = 0;
  const bool found =
      (quick && imageOfIdentifier(session, path)) ||
      (SUCCEEDED(session->GetProcessId(&process)) && imageOfProcess(process, path)) ||
      (!quick && imageOfIdentifier(session, path));
  if (!found) return false;
  wchar_t name[kAppNameSize];
  lstrcpynW(name, fileNameOf(path), kAppNameSize);
  CharLowerW(name);
  const int written =
      WideCharToMultiByte(CP_UTF8, 0, name, -1, image, kAppNameSize, nullptr, nullptr);
  if (written <= 1) image[0] = '\0';  // too long to keep whole: no name rather than a cut one
  return image[0] != '\0';
}

void appNameOfImage(const char* image, char (&name)[kAppNameSize]) {
  if (lstrcmpA(image, kSystemSounds) == 0) {
    lstrcpynA(name, "System sounds", kAppNameSize);
    return;
  }
  wchar_t wide[kAppNameSize] = L"";
  MultiByteToWideChar(CP_UTF8, 0, image, -1, wide, kAppNameSize);
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
  if (lstrcmpA(image, kSystemSounds) != 0 && SUCCEEDED(session->GetDisplayName(display.out()))) {
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
