#include <windows.h>

#include "mixer/endpoint_apartment.h"

#include <objbase.h>

namespace {

// Plain values only: nothing here may run COM from a static destructor.
bool entered;
bool mustUninitialise;

}  // namespace

bool enterComApartment() {
  if (entered) return true;
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // S_FALSE: the host got there first; it still counts and is balanced at stop.
  if (result == S_OK || result == S_FALSE) {
    entered = true;
    mustUninitialise = true;
  } else if (result == RPC_E_CHANGED_MODE) {
    // The host chose the other model: use COM as it is, and never uninitialise it.
    entered = true;
    mustUninitialise = false;
  }
  return entered;
}

void leaveComApartment() {
  if (entered && mustUninitialise) CoUninitialize();
  entered = false;
  mustUninitialise = false;
}
