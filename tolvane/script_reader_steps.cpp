// Script steps acting as a screen reader on the host's user-interface thread:
// reading a window's client object through MSAA, and holding one past the
// plug-in's unloading. A client on the window's own thread gets the object
// itself, not a proxy, so no disconnection can reach it.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <vector>

#include "tolvane/menu_tree.h"
#include "tolvane/script_steps.h"

namespace script {
namespace {

// Touched on the user-interface thread only.
std::vector<IAccessible*> heldObjects;
bool inApartment;

IAccessible* clientObject(HWND window) {
  if (!inApartment) inApartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                             reinterpret_cast<void**>(&object));
  return object;
}

VARIANT self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

// The text an answer holds, "(none)" for a failed one.
std::string taken(HRESULT answer, BSTR text) {
  std::string out = "(none)";
  if (SUCCEEDED(answer) && text != nullptr) {
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    out = narrow;
  }
  SysFreeString(text);
  return out;
}

struct Reading {
  bool found = false;
  std::string name, value;
  LONG role = 0, state = 0;
};

Reading read(HWND window) {
  Reading r;
  IAccessible* object = clientObject(window);
  if (object == nullptr) return r;
  r.found = true;
  BSTR text = nullptr;
  HRESULT answer = object->get_accName(self(), &text);
  r.name = taken(answer, text);
  text = nullptr;
  answer = object->get_accValue(self(), &text);
  r.value = taken(answer, text);
  VARIANT v;
  if (SUCCEEDED(object->get_accRole(self(), &v)) && v.vt == VT_I4) r.role = v.lVal;
  if (SUCCEEDED(object->get_accState(self(), &v)) && v.vt == VT_I4) r.state = v.lVal;
  object->Release();
  return r;
}

// expect-accessible T NAME VALUE: what a screen reader reads of the window
// (patterns as in choose; "(none)" for no value).
bool stepExpectAccessible(const Args& a, std::string* error) {
  HWND window;
  if (!windowArg(a[1], &window, error)) return false;
  Reading r;
  ui([&] { return r = read(window), true; });
  if (!r.found) return fail(error, "no client object");
  std::printf("  accessible: role %ld, name \"%s\", value \"%s\", state 0x%lx\n",
              static_cast<long>(r.role), r.name.c_str(), r.value.c_str(),
              static_cast<long>(r.state));
  if (!labelMatches(a[2], r.name)) return fail(error, "name is \"" + r.name + "\"");
  if (!labelMatches(a[3], r.value)) return fail(error, "value is \"" + r.value + "\"");
  return true;
}

// hold-accessible T: the window's client object is kept until the host has
// unloaded its plug-ins, and called once more then.
bool stepHoldAccessible(const Args& a, std::string* error) {
  HWND window;
  if (!windowArg(a[1], &window, error)) return false;
  bool found = false;
  ui([&] {
    IAccessible* object = clientObject(window);
    if (object != nullptr) heldObjects.push_back(object);
    return found = object != nullptr, true;
  });
  return found || fail(error, "no client object");
}

const Step kSteps[] = {
    {"expect-accessible", 3, stepExpectAccessible},
    {"hold-accessible", 1, stepHoldAccessible},
};

}  // namespace

StepTable readerSteps() { return tableOf(kSteps); }

void callHeldObjectsOnce() {
  for (IAccessible* object : heldObjects) {
    BSTR name = nullptr;
    const HRESULT answer = object->get_accName(self(), &name);
    SysFreeString(name);
    std::printf("host: a held accessible object answers 0x%08lx\n",
                static_cast<unsigned long>(answer));
    object->Release();
  }
  heldObjects.clear();
  if (inApartment) CoUninitialize();
  inApartment = false;
}

}  // namespace script
