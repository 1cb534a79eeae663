#include <windows.h>

#include "slider/held_objects.h"

#include "host/module_values.h"
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
  keepModuleLoaded();
}
