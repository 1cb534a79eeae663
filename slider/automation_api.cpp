#include "slider/automation_api.h"

namespace {

// Plain values: nothing here may free a library from a static destructor.
HMODULE library;
bool tried;  // a library found missing is not sought again before the next stop
AutomationApi api;

template <typename Function>
void lookUp(Function& function, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// From the system folder by its full path: a library of that name in the
// shell's folder or the current one is never taken in its place.
HMODULE loadFromSystemFolder(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  const size_t length = lstrlenW(file);
  if (folder == 0 || folder + 1 + length >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  lstrcpyW(path + folder + 1, file);
  return LoadLibraryW(path);
}

}  // namespace

const AutomationApi* automationApi() {
  if (library != nullptr) return &api;
  if (tried) return nullptr;
  tried = true;
  library = loadFromSystemFolder(L"uiautomationcore.dll");
  if (library == nullptr) return nullptr;
  lookUp(api.returnRawElementProvider, "UiaReturnRawElementProvider");
  lookUp(api.hostProviderFromHwnd, "UiaHostProviderFromHwnd");
  lookUp(api.raisePropertyChanged, "UiaRaiseAutomationPropertyChangedEvent");
  lookUp(api.disconnectProvider, "UiaDisconnectProvider");
  if (api.returnRawElementProvider != nullptr && api.hostProviderFromHwnd != nullptr) return &api;
  releaseAutomationApi();
  tried = true;
  return nullptr;
}

void releaseAutomationApi() {
  if (library != nullptr) FreeLibrary(library);
  library = nullptr;
  tried = false;
  api = AutomationApi{};
}
