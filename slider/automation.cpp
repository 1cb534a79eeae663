#include "slider/automation.h"

#include "slider/automation_api.h"
#include "slider/client_object.h"
#include "slider/keys.h"
#include "slider/spoken_text.h"

namespace {

VARIANT boolean(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT number(double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

VARIANT integer(int value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT nameOf(const Slider& s) {
  char text[kSpokenTextSize];
  spokenName(s, text);
  VARIANT v;
  VariantInit(&v);
  v.bstrVal = newClientText(text);
  if (v.bstrVal != nullptr) v.vt = VT_BSTR;
  return v;
}

// Properties the provider does not answer stay empty: UI Automation then
// takes them from the window.
VARIANT propertyOf(const Slider& s, PROPERTYID id) {
  switch (id) {
    case kUiaControlTypeProperty: return integer(kUiaSliderControlType);
    case kUiaNameProperty: return nameOf(s);
    case kUiaIsKeyboardFocusableProperty: return boolean(true);
    case kUiaHasKeyboardFocusProperty: return boolean(s.accessible.focused);
    case kUiaIsEnabledProperty: return boolean(s.levelBound());
    default: {
      VARIANT empty;
      VariantInit(&empty);
      return empty;
    }
  }
}

class Provider final : public IRawElementProviderSimple,
                       public IRangeValueProvider,
                       public ClientObject<Provider> {
 public:
  explicit Provider(HWND window) : ClientObject(window) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple))
      *out = static_cast<IRawElementProviderSimple*>(this);
    else if (iid == __uuidof(IRangeValueProvider))
      *out = static_cast<IRangeValueProvider*>(this);
    else
      return E_NOINTERFACE;
    addReference();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return dropReference(); }

  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    if (options == nullptr) return E_POINTER;
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID id, IUnknown** pattern) override {
    if (pattern == nullptr) return E_POINTER;
    *pattern = nullptr;
    if (slider() == nullptr) return kUiaElementNotAvailable;
    if (id == kUiaRangeValuePattern) {
      *pattern = static_cast<IRangeValueProvider*>(this);
      addReference();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID id, VARIANT* value) override {
    if (value == nullptr) return E_POINTER;
    VariantInit(value);
    const Slider* s = slider();
    if (s == nullptr) return kUiaElementNotAvailable;
    *value = propertyOf(*s, id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    if (host == nullptr) return E_POINTER;
    *host = nullptr;
    const AutomationApi* api = automationApi();
    if (slider() == nullptr || api == nullptr) return kUiaElementNotAvailable;
    return api->hostProviderFromHwnd(window(), host);
  }

  HRESULT STDMETHODCALLTYPE SetValue(double percent) override {
    Slider* s = slider();
    if (s == nullptr) return kUiaElementNotAvailable;
    if (!(percent >= 0.0 && percent <= 100.0)) return E_INVALIDARG;  // NaN too
    if (!s->levelBound()) return kUiaElementNotEnabled;
    s->setLevel(percent / 100.0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Value(double* percent) override {
    return answer(percent, [](const Slider& s) { return double(wholePercent(s.level())); });
  }
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override {
    if (readOnly == nullptr) return E_POINTER;
    *readOnly = TRUE;
    const Slider* s = slider();
    if (s == nullptr) return kUiaElementNotAvailable;
    *readOnly = s->levelBound() ? FALSE : TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Maximum(double* most) override {
    return answer(most, [](const Slider&) { return 100.0; });
  }
  HRESULT STDMETHODCALLTYPE get_Minimum(double* least) override {
    return answer(least, [](const Slider&) { return 0.0; });
  }
  HRESULT STDMETHODCALLTYPE get_LargeChange(double* change) override {
    return answer(change, [](const Slider&) { return kPageStep; });
  }
  HRESULT STDMETHODCALLTYPE get_SmallChange(double* change) override {
    return answer(change, [](const Slider& s) { return double(s.wheelStep); });
  }

 private:
  template <typename Read>
  HRESULT answer(double* out, Read read) const {
    if (out == nullptr) return E_POINTER;
    *out = 0.0;
    const Slider* s = slider();
    if (s == nullptr) return kUiaElementNotAvailable;
    *out = read(*s);
    return S_OK;
  }
};

}  // namespace

IRawElementProviderSimple* automationProviderFor(Slider& s) {
  ComRef<IRawElementProviderSimple>& held = s.accessible.uia;
  if (!held) held = ComRef<IRawElementProviderSimple>(Provider::make(s.window));
  return held.get();
}

bool answerAutomationRequest(Slider& s, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const AutomationApi* api = automationApi();
  if (api == nullptr) return false;
  IRawElementProviderSimple* provider = automationProviderFor(s);
  if (provider == nullptr) return false;
  result = api->returnRawElementProvider(s.window, wParam, lParam, provider);
  return true;
}

// UI Automation asks the provider for its host while it disconnects, so the
// provider is retired only afterwards.
void disconnectAutomation(Slider& s) {
  ComRef<IRawElementProviderSimple> provider(s.accessible.uia.release());
  if (!provider) return;
  const AutomationApi* api = automationApi();
  if (api != nullptr && api->disconnectProvider != nullptr) api->disconnectProvider(provider.get());
  static_cast<Provider*>(provider.get())->retire();
}

void raiseLevelChanged(Slider& s, int oldPercent, int newPercent) {
  IRawElementProviderSimple* provider = s.accessible.uia.get();
  const AutomationApi* api = provider != nullptr ? automationApi() : nullptr;
  if (api == nullptr || api->raisePropertyChanged == nullptr) return;
  api->raisePropertyChanged(provider, kUiaRangeValueValueProperty, number(oldPercent),
                            number(newPercent));
}
