// The slider as screen readers see it: an MSAA client in the test process
// reads and sets it and counts the WinEvents it is told; the UI Automation
// provider is asked directly; and objects a client still holds after the
// slider or the plug-in is gone answer errors.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "slider/automation_api.h"
#include "slider/held_objects.h"
#include "tests/support/plugin_fixture.h"

namespace {

constexpr DWORD kLine = 0xFFFF0000;
constexpr DWORD kVolume = 0, kMute = 1;

// The events told of a window's client object itself.
std::vector<std::pair<DWORD, HWND>> events;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) events.push_back({event, window});
}

std::string narrow(BSTR text) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(text); ++i) out += static_cast<char>(text[i]);
  SysFreeString(text);
  return out;
}

VARIANT self() {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

class Accessibility : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    addMasterVolumeDevice();
    ASSERT_EQ(start(), 0);
    pumpMessages();
    events.clear();
    hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, recordEvent, 0,
                            0, WINEVENT_OUTOFCONTEXT);
  }
  void TearDown() override {
    UnhookWinEvent(hook_);
    if (other_ != nullptr) DestroyWindow(other_);
    PluginTest::TearDown();
  }

  void focusElsewhere() {
    if (other_ == nullptr)
      other_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
    SetFocus(other_);
  }

  static ComRef<IAccessible> client(HWND window) {
    ComRef<IAccessible> object;
    AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void**>(object.out()));
    return object;
  }
  static void bind() { bindControl(slider(), 0, kLine, kVolume); }
  static LRESULT key(WPARAM vk) { return SendMessageA(slider().window, WM_KEYDOWN, vk, 1); }

  // The slider's events of that kind delivered since they were last forgotten.
  static int told(DWORD event) {
    pumpMessages();
    return static_cast<int>(
        std::count(events.begin(), events.end(), std::make_pair(event, slider().window)));
  }
  static void forget() {
    pumpMessages();
    events.clear();
  }

  HWINEVENTHOOK hook_ = nullptr;
  HWND other_ = nullptr;
};

using TextOf = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::string said(IAccessible* a, TextOf what) {
  BSTR text = nullptr;
  return SUCCEEDED((a->*what)(self(), &text)) ? narrow(text) : "(failed)";
}
std::string nameOf(IAccessible* a) { return said(a, &IAccessible::get_accName); }
std::string valueOf(IAccessible* a) { return said(a, &IAccessible::get_accValue); }
LONG stateOf(IAccessible* a) {
  VARIANT v;
  return SUCCEEDED(a->get_accState(self(), &v)) ? v.lVal : -1;
}
HRESULT setValue(IAccessible* a, const wchar_t* text) {
  BSTR b = SysAllocString(text);
  const HRESULT result = a->put_accValue(self(), b);
  SysFreeString(b);
  return result;
}

TEST_F(Accessibility, AnMsaaClientReadsWhatTheSliderShowsAndSetsIt) {
  focusElsewhere();
  ComRef<IAccessible> a = client(slider().window);
  ASSERT_TRUE(a);
  VARIANT role;
  ASSERT_EQ(a->get_accRole(self(), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_SLIDER);
  EXPECT_EQ(nameOf(a.get()), "Volume (not bound)");
  EXPECT_EQ(valueOf(a.get()), "(failed)");
  EXPECT_EQ(stateOf(a.get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(setValue(a.get(), L"30"), E_FAIL);  // nothing to set
  EXPECT_EQ(a->accDoDefaultAction(self()), DISP_E_MEMBERNOTFOUND);

  bind();
  EXPECT_EQ(nameOf(a.get()), "Master Volume");
  EXPECT_EQ(valueOf(a.get()), "50%");
  EXPECT_EQ(said(a.get(), &IAccessible::get_accDefaultAction), "Mute");
  ASSERT_EQ(a->accDoDefaultAction(self()), S_OK);
  EXPECT_EQ(mixerdouble::raw(0, kMute), 1u);
  EXPECT_EQ(valueOf(a.get()), "muted");
  EXPECT_EQ(said(a.get(), &IAccessible::get_accDefaultAction), "Unmute");
  a->accDoDefaultAction(self());

  SetFocus(slider().window);
  EXPECT_EQ(stateOf(a.get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  RECT r, told;
  GetWindowRect(slider().window, &r);
  ASSERT_EQ(a->accLocation(&told.left, &told.top, &told.right, &told.bottom, self()), S_OK);
  EXPECT_EQ(std::vector<LONG>({told.left, told.top, told.right, told.bottom}),
            std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}));

  EXPECT_EQ(setValue(a.get(), L"30"), S_OK);
  EXPECT_EQ(mixerdouble::sets().back().raw, 19660u);
  EXPECT_EQ(setValue(a.get(), L"100%"), S_OK);
  EXPECT_EQ(valueOf(a.get()), "100%");
  const size_t writes = mixerdouble::sets().size();
  for (const wchar_t* refused : {L"", L"abc", L"101", L"-5", L"30 %", L"%", L"3O", L"30%%"})
    EXPECT_EQ(setValue(a.get(), refused), E_INVALIDARG) << refused;
  EXPECT_EQ(mixerdouble::sets().size(), writes);
  LONG children = -1;  // what the slider does not answer itself, the standard object does
  EXPECT_EQ(a->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 0);
}

TEST_F(Accessibility, ChangesAreToldOnceEachFromAnySourceOnceAClientAsked) {
  bind();
  SetFocus(slider().window);
  // The value changes told for what the action does; with none asked, nothing is.
  const auto valueChanges = [](void (*act)()) {
    forget();
    act();
    return told(EVENT_OBJECT_VALUECHANGE);
  };
  EXPECT_EQ(valueChanges([] { key(VK_RIGHT); }), 0);
  EXPECT_EQ(told(EVENT_OBJECT_STATECHANGE), 0);

  ComRef<IAccessible> a = client(slider().window);
  EXPECT_EQ(valueChanges([] { key(VK_RIGHT); }), 1);
  EXPECT_EQ(
      valueChanges([] { SendMessageA(slider().window, WM_MOUSEWHEEL, WHEEL_DELTA << 16, 0); }), 1);
  EXPECT_EQ(valueChanges([] {
              mixerdouble::changeControl(0, kVolume, 6553);  // elsewhere: 10%
              deliverMixerNotifications(slider().window);
            }),
            1);
  EXPECT_EQ(valueChanges([] { key(' '); }), 1);
  EXPECT_EQ(valueChanges([] {
              handleCommand(slider(), "@KvSliderConfigure-volume-slider1-10");  // as shown
              key(VK_TAB);
              mixerdouble::fail(mixerdouble::Op::SetDetails);  // the device keeps its level
              key(VK_RIGHT);
              mixerdouble::clearFailures();
            }),
            0);

  // Another binding is told as a new name; unbound, the slider becomes unavailable.
  EXPECT_EQ(valueChanges(bind), 0);
  EXPECT_EQ(told(EVENT_OBJECT_NAMECHANGE), 1);
  EXPECT_EQ(valueChanges([] { slider().unbindControl(); }), 1);
  EXPECT_EQ(told(EVENT_OBJECT_STATECHANGE), 1);

  // Focus: the state changes, and the system itself tells the focus, once.
  focusElsewhere();
  forget();
  SetFocus(slider().window);
  EXPECT_EQ(told(EVENT_OBJECT_STATECHANGE), 1);
  EXPECT_EQ(told(EVENT_OBJECT_FOCUS), 1);
}

TEST_F(Accessibility, TheAutomationProviderIsASliderWithARangeValue) {
  LRESULT answered = SendMessageA(slider().window, WM_GETOBJECT, 0, kUiaRootObjectId);
  EXPECT_GT(answered, 0);
  IRawElementProviderSimple* p = slider().accessible.uia.get();
  ASSERT_NE(p, nullptr);
  ComRef<IRawElementProviderSimple> host;
  EXPECT_EQ(p->get_HostRawElementProvider(host.out()), S_OK);

  ComRef<IUnknown> pattern;
  ASSERT_EQ(p->GetPatternProvider(kUiaRangeValuePattern, pattern.out()), S_OK);
  ComRef<IRangeValueProvider> range;
  ASSERT_EQ(
      pattern->QueryInterface(__uuidof(IRangeValueProvider), reinterpret_cast<void**>(range.out())),
      S_OK);
  EXPECT_EQ(p->GetPatternProvider(10002, pattern.out()), S_OK);  // no Value pattern
  EXPECT_FALSE(pattern);

  const auto property = [&](PROPERTYID id) {
    VARIANT v;
    EXPECT_EQ(p->GetPropertyValue(id, &v), S_OK);
    return v;
  };
  EXPECT_EQ(property(kUiaControlTypeProperty).lVal, kUiaSliderControlType);
  EXPECT_EQ(narrow(property(kUiaNameProperty).bstrVal), "Volume (not bound)");
  EXPECT_EQ(property(kUiaIsEnabledProperty).boolVal, VARIANT_FALSE);
  EXPECT_EQ(property(kUiaIsKeyboardFocusableProperty).boolVal, VARIANT_TRUE);
  BOOL readOnly = FALSE;
  EXPECT_EQ(range->get_IsReadOnly(&readOnly), S_OK);
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(range->SetValue(30), kUiaElementNotEnabled);

  bind();
  slider().wheelStep = 5;
  SetFocus(slider().window);
  EXPECT_EQ(narrow(property(kUiaNameProperty).bstrVal), "Master Volume");
  EXPECT_EQ(property(kUiaIsEnabledProperty).boolVal, VARIANT_TRUE);
  EXPECT_EQ(property(kUiaHasKeyboardFocusProperty).boolVal, VARIANT_TRUE);
  const auto read = [&](HRESULT (STDMETHODCALLTYPE IRangeValueProvider::*get)(double*)) {
    double v = -1;
    return (range.get()->*get)(&v) == S_OK ? v : -1;
  };
  EXPECT_EQ(read(&IRangeValueProvider::get_Minimum), 0.0);
  EXPECT_EQ(read(&IRangeValueProvider::get_Maximum), 100.0);
  EXPECT_EQ(read(&IRangeValueProvider::get_SmallChange), 5.0);
  EXPECT_EQ(read(&IRangeValueProvider::get_LargeChange), 10.0);
  EXPECT_EQ(read(&IRangeValueProvider::get_Value), 50.0);
  EXPECT_EQ(range->SetValue(30), S_OK);
  EXPECT_EQ(mixerdouble::sets().back().raw, 19660u);
  const size_t writes = mixerdouble::sets().size();
  for (double refused : {-0.5, 100.5, std::nan("")})
    EXPECT_EQ(range->SetValue(refused), E_INVALIDARG) << refused;
  EXPECT_EQ(mixerdouble::sets().size(), writes);
}

TEST_F(Accessibility, ObjectsHeldAfterTheSliderOrThePluginWentAnswerErrors) {
  bind();
  sendCommand(slider(), "@KvSliderConfigure-newslider-slider1");
  Slider* second = sliderAt(1);
  ASSERT_NE(second, nullptr);
  ComRef<IAccessible> gone = client(second->window);
  SendMessageA(second->window, WM_GETOBJECT, 0, kUiaRootObjectId);
  IRawElementProviderSimple* goneProvider = second->accessible.uia.get();
  goneProvider->AddRef();
  sendCommand(*second, "@KvSliderConfigure-removeslider-slider2");
  ASSERT_EQ(sliderCount(), 1);
  EXPECT_EQ(nameOf(gone.get()), "(failed)");
  ComRef<IUnknown> pattern;
  EXPECT_EQ(goneProvider->GetPatternProvider(kUiaRangeValuePattern, pattern.out()),
            kUiaElementNotAvailable);
  goneProvider->Release();

  // A client on the window's thread holds the object itself; one on another
  // thread holds a proxy, which the disconnection cuts off.
  ComRef<IAccessible> held = client(slider().window);
  ComRef<IRangeValueProvider> range;
  SendMessageA(slider().window, WM_GETOBJECT, 0, kUiaRootObjectId);
  slider().accessible.uia->QueryInterface(__uuidof(IRangeValueProvider),
                                          reinterpret_cast<void**>(range.out()));
  const HWND window = slider().window;
  std::atomic<int> step{0};
  HRESULT before = E_UNEXPECTED, after = S_OK;
  std::thread other([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      ComRef<IAccessible> proxy = client(window);
      BSTR text = nullptr;
      before = proxy ? proxy->get_accName(self(), &text) : E_POINTER;
      SysFreeString(text);
      step = 1;
      while (step != 2) Sleep(5);
      after = proxy ? proxy->get_accName(self(), &text) : E_POINTER;
    }
    CoUninitialize();
    step = 3;
  });
  const auto pumpUntil = [&](int reached) {
    for (; step != reached; pumpMessages())
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  };
  pumpUntil(1);
  stop();
  step = 2;
  pumpUntil(3);
  other.join();
  EXPECT_EQ(before, S_OK);
  EXPECT_TRUE(FAILED(after) && after != E_FAIL);  // cut off before reaching the object
  EXPECT_EQ(nameOf(held.get()), "(failed)");
  EXPECT_EQ(setValue(held.get(), L"20"), E_FAIL);
  double level = -1;
  EXPECT_EQ(range->get_Value(&level), kUiaElementNotAvailable);
  EXPECT_GT(objectsHeld(), 0);
}

}  // namespace
