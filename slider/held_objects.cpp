#include <windows.h>

#include "slider/held_objects.h"

#include "slider/automation_api.h"

namespace {
LONG held;  // released on any thread a client's last reference goes from
}  // namespace

void objectMade() { InterlockedIncrement(&held); }

void objectGone() { InterlockedDecrement(&held); }

int objectsHeld() { return static_cast<int>(InterlockedCompareExchange(&held, 0, 0)); }

void keepCodeForHeldObjects() {
  if (objectsHeld() == 0) {
    releaseAutomationApi();
    return;
  }
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&keepCodeForHeldObjects), &self);
}
