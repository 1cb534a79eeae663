#pragma once
// The part of UI Automation the slider's provider needs and mingw-w64 does not
// declare usably: the RangeValue pattern's interface, a few identifiers, and
// the functions of uiautomationcore.dll, looked up at run time so that the
// plug-in still loads where that library is missing.
#include <windows.h>

#include <uiautomationcore.h>

// From the documented IID and vtable order. A newer mingw-w64 may declare it
// itself, with the same layout.
#ifndef __IRangeValueProvider_INTERFACE_DEFINED__
#define __IRangeValueProvider_INTERFACE_DEFINED__
MIDL_INTERFACE("36dc7aef-33e6-4691-afe1-2be7274b3d33")
IRangeValueProvider : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE SetValue(double value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(double* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL * readOnly) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Maximum(double* maximum) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Minimum(double* minimum) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LargeChange(double* change) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SmallChange(double* change) = 0;
};
__CRT_UUID_DECL(IRangeValueProvider, 0x36dc7aef, 0x33e6, 0x4691, 0xaf, 0xe1, 0x2b, 0xe7, 0x27, 0x4b,
                0x3d, 0x33)
#endif

constexpr LONG kUiaRootObjectId = -25;  // WM_GETOBJECT's object ID for a UI Automation client
constexpr HRESULT kUiaElementNotEnabled = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kUiaElementNotAvailable = static_cast<HRESULT>(0x80040201);

constexpr PATTERNID kUiaRangeValuePattern = 10003;
constexpr PROPERTYID kUiaControlTypeProperty = 30003;
constexpr PROPERTYID kUiaNameProperty = 30005;
constexpr PROPERTYID kUiaHasKeyboardFocusProperty = 30008;
constexpr PROPERTYID kUiaIsKeyboardFocusableProperty = 30009;
constexpr PROPERTYID kUiaIsEnabledProperty = 30010;
constexpr PROPERTYID kUiaRangeValueValueProperty = 30047;
constexpr int kUiaSliderControlType = 50015;

// The functions of uiautomationcore.dll the provider uses. The last two are
// missing on older systems (UiaDisconnectProvider came with Windows 8): null there.
struct AutomationApi {
  LRESULT(WINAPI* returnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
  HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimple**);
  HRESULT(WINAPI* raisePropertyChanged)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);
  HRESULT(WINAPI* disconnectProvider)(IRawElementProviderSimple*);
};

// Loads the library from the system folder on first need; null where it, or
// one of the first two functions, is missing.
const AutomationApi* automationApi();
// Lets go of the library, at stop, once no provider of this module lives.
void releaseAutomationApi();
