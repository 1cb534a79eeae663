#include "slider/accessible.h"

#include "mixer/endpoint_apartment.h"
#include "slider/announce.h"
#include "slider/automation.h"
#include "slider/automation_api.h"
#include "slider/client_object.h"
#include "slider/spoken_text.h"

// The interface IDs come from __uuidof: liboleacc's IID_IAccessible is
// oleacc.dll's exported datum, which read without dllimport is not the GUID.

namespace {

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// What a client may write as the value: whole per cent in digits, a per cent
// sign after them or not, and nothing else.
bool percentFrom(BSTR text, int& percent) {
  const UINT length = SysStringLen(text);
  UINT at = 0;
  int value = 0;
  for (; at < length && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    value = value * 10 + (text[at] - L'0');
    if (value > 100) return false;
  }
  if (at == 0) return false;
  if (at < length && text[at] == L'%') ++at;
  if (at != length) return false;
  percent = value;
  return true;
}

LONG stateOf(const Slider& s) {
  LONG state = STATE_SYSTEM_FOCUSABLE;
  if (s.accessible.focused) state |= STATE_SYSTEM_FOCUSED;
  if (!s.levelBound()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (!IsWindowVisible(s.window)) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

// Named after what it would do to the device now, which may differ from what
// the slider shows (wine's mixer never notifies). None while nothing can be muted.
bool defaultAction(const Slider& s, char (&text)[kSpokenTextSize]) {
  bool muted = false;
  if (!s.levelBound() || !readVolumeMute(s.binding, muted)) return false;
  lstrcpynA(text, muted ? "Unmute" : "Mute", kSpokenTextSize);
  return true;
}

bool nameText(const Slider& s, char (&text)[kSpokenTextSize]) {
  spokenName(s, text);
  return true;
}

bool valueText(const Slider& s, char (&text)[kSpokenTextSize]) {
  spokenValue(s, text);
  return text[0] != '\0';
}

// The slider's own answers for role, name, value, state, place and its
// default action; everything else as the standard client object of its
// window answers, which this one holds until it is disconnected.
class Accessible final : public IAccessible, public ClientObject<Accessible> {
 public:
  explicit Accessible(HWND window) : ClientObject(window) {}

  bool takeStandard() {
    return SUCCEEDED(CreateStdAccessibleObject(window(), OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(standard_.out())));
  }
  void retire() {
    ClientObject::retire();
    standard_.reset();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible))
      return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    addReference();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return dropReference(); }

  // Clients of MSAA call the interface directly; late binding through
  // IDispatch would reach the standard object's answers, not the slider's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* text) override {
    return say(child, text, nameText);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* text) override {
    return say(child, text, valueText);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return say(child, text, defaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return answerNumber(child, role, [](const Slider&) { return LONG{ROLE_SYSTEM_SLIDER}; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return answerNumber(child, state, stateOf);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
      return E_POINTER;
    *left = *top = *width = *height = 0;
    Slider* s = nullptr;
    const HRESULT reached = reach(child, s);
    RECT r;
    if (FAILED(reached) || !GetWindowRect(s->window, &r)) return FAILED(reached) ? reached : E_FAIL;
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR text) override {
    Slider* s = nullptr;
    const HRESULT reached = reach(child, s);
    if (FAILED(reached)) return reached;
    int percent = 0;
    if (!percentFrom(text, percent)) return E_INVALIDARG;
    if (!s->levelBound()) return E_FAIL;
    s->setLevel(percent / 100.0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    Slider* s = nullptr;
    const HRESULT reached = reach(child, s);
    if (FAILED(reached)) return reached;
    return s->toggleMute() ? S_OK : DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accParent(parent); });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accChildCount(count); });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accChild(child, object); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accDescription(child, text); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accHelp(child, text); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accHelpTopic(file, child, topic); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accKeyboardShortcut(child, text); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accFocus(focus); });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standardAnswers([&](IAccessible* a) { return a->get_accSelection(selection); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
    return standardAnswers([&](IAccessible* a) { return a->accSelect(how, child); });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standardAnswers([&](IAccessible* a) { return a->accNavigate(direction, start, end); });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standardAnswers([&](IAccessible* a) { return a->accHitTest(x, y, child); });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR text) override {
    return standardAnswers([&](IAccessible* a) { return a->put_accName(child, text); });
  }

 private:
  // The slider while its window lives; the slider has no children to ask about.
  HRESULT reach(const VARIANT& child, Slider*& s) const {
    s = slider();
    if (s == nullptr) return E_FAIL;
    return isSelf(child) ? S_OK : E_INVALIDARG;
  }

  template <typename Words>
  HRESULT say(const VARIANT& child, BSTR* text, Words words) const {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    Slider* s = nullptr;
    const HRESULT reached = reach(child, s);
    if (FAILED(reached)) return reached;
    char spoken[kSpokenTextSize];
    if (!words(*s, spoken)) return DISP_E_MEMBERNOTFOUND;
    *text = newClientText(spoken);
    return *text != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  template <typename Number>
  HRESULT answerNumber(const VARIANT& child, VARIANT* out, Number number) const {
    if (out == nullptr) return E_POINTER;
    VariantInit(out);
    Slider* s = nullptr;
    const HRESULT reached = reach(child, s);
    if (FAILED(reached)) return reached;
    out->vt = VT_I4;
    out->lVal = number(*s);
    return S_OK;
  }

  // The standard object is kept alive through the call: the call may lead to
  // the window's destruction, and with it the object's disconnection.
  template <typename Call>
  HRESULT standardAnswers(Call call) const {
    if (slider() == nullptr || !standard_) return E_FAIL;
    standard_->AddRef();
    const ComRef<IAccessible> kept(standard_.get());
    return call(kept.get());
  }

  ComRef<IAccessible> standard_;
};

bool answerAccessibleRequest(Slider& s, WPARAM wParam, LRESULT& result) {
  IAccessible* object = enterComApartment() ? accessibleFor(s) : nullptr;
  if (object == nullptr) return false;
  result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  return result > 0;  // otherwise a failure's HRESULT
}

}  // namespace

IAccessible* accessibleFor(Slider& s) {
  ComRef<IAccessible>& held = s.accessible.msaa;
  if (!held) {
    ComRef<Accessible> made(Accessible::make(s.window));
    if (made && made->takeStandard()) held = ComRef<IAccessible>(made.release());
  }
  return held.get();
}

// Once a client has its object, what the slider shows is what it reads, and
// every change from then on is told.
LRESULT answerObjectRequest(Slider& s, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const LONG id = static_cast<LONG>(static_cast<DWORD>(lParam));
  LRESULT result = 0;
  const bool answered = (id == OBJID_CLIENT && answerAccessibleRequest(s, wParam, result)) ||
                        (id == kUiaRootObjectId && enterComApartment() &&
                         answerAutomationRequest(s, wParam, lParam, result));
  if (!answered) return DefWindowProcA(hwnd, WM_GETOBJECT, wParam, lParam);
  clientAsked(s);
  return result;
}

// A client in another apartment is cut off by the disconnection; one on this
// thread holds the object itself, which answers errors once retired.
void disconnectClients(Slider& s) {
  disconnectAutomation(s);
  ComRef<IAccessible> held(s.accessible.msaa.release());
  if (held) {
    CoDisconnectObject(held.get(), 0);
    static_cast<Accessible*>(held.get())->retire();
  }
  s.accessible.asked = false;
}
