#include <windows.h>

#include "plugin/module_state.h"

// Only the DLL has this entry. The C runtime calls it before it runs the
// module's destructors, so the slider learns whether the whole process is
// ending (reserved non-null), in which case winmm must not be called any more.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved != nullptr) processExiting = true;
  return TRUE;
}
