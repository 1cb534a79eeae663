// The slider as screen readers see it: an MSAA client in the test process
// reads and sets it and counts the WinEvents it is told; the UI Automation
// provider is asked directly and through wine's UI Automation; and objects
// a client still holds after the slider or the plug-in is gone answer errors.
#include <windows.h>

#include <oleacc.h>

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

struct Event {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};
std::vector<Event> events;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
  events.push_back({event, window, object, child});
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
    mixerdouble::Line line;
    line.id = kLine;
    line.name = "Master Volume";
    line.controls = {{kVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 32768, false},
                     {kMute, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0, false}};
    mixerdouble::Device device;
    device.destinations = {line};
    mixerdouble::addDevice(device);
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
  static void bind() { slider().bindControl(0, kLine, kVolume); }
  static LRESULT key(WPARAM vk) { return SendMessageA(slider().window, WM_KEYDOWN, vk, 1); }

  // The slider's client-object events of that kind delivered since the last count.
  static int told(DWORD event) {
    pumpMessages();
    int n = 0;
    for (const Event& e : events)
      n += e.event == event && e.window == slider().window && e.object == OBJID_CLIENT &&
           e.child == CHILDID_SELF;
    return n;
  }
  static void forget() {
    pumpMessages();
    events.clear();
  }

  HWINEVENTHOOK hook_ = nullptr;
  HWND other_ = nullptr;
};

std::string nameOf(IAccessible* a) {
  BSTR text = nullptr;
  return SUCCEEDED(a->get_accName(self(), &text)) ? narrow(text) : "(failed)";
}
std::string valueOf(IAccessible* a) {
  BSTR text = nullptr;
  return SUCCEEDED(a->get_accValue(self(), &text)) ? narrow(text) : "(none)";
}
std::string actionOf(IAccessible* a) {
  BSTR text = nullptr;
  return SUCCEEDED(a->get_accDefaultAction(self(), &text)) ? narrow(text) : "(none)";
}
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
  EXPECT_EQ(valueOf(a.get()), "(none)");
  EXPECT_EQ(stateOf(a.get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(setValue(a.get(), L"30"), E_FAIL);  // nothing to set
  EXPECT_EQ(a->accDoDefaultAction(self()), DISP_E_MEMBERNOTFOUND);

  bind();
  EXPECT_EQ(nameOf(a.get()), "Master Volume");
  EXPECT_EQ(valueOf(a.get()), "50%");
  EXPECT_EQ(actionOf(a.get()), "Mute");
  ASSERT_EQ(a->accDoDefaultAction(self()), S_OK);
  EXPECT_EQ(mixerdouble::raw(0, kMute), 1u);
  EXPECT_EQ(valueOf(a.get()), "muted");
  EXPECT_EQ(actionOf(a.get()), "Unmute");
  a->accDoDefaultAction(self());

  SetFocus(slider().window);
  EXPECT_EQ(stateOf(a.get()), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  LONG left, top, width, height;
  ASSERT_EQ(a->accLocation(&left, &top, &width, &height, self()), S_OK);
  RECT r;
  GetWindowRect(slider().window, &r);
  EXPECT_EQ(left, r.left);
  EXPECT_EQ(top, r.top);
  EXPECT_EQ(width, r.right - r.left);
  EXPECT_EQ(height, r.bottom - r.top);

  EXPECT_EQ(setValue(a.get(), L"30"), S_OK);
  EXPECT_EQ(mixerdouble::sets().back().raw, 19660u);
  EXPECT_EQ(setValue(a.get(), L"100%"), S_OK);
  EXPECT_EQ(valueOf(a.get()), "100%");
  const size_t writes = mixerdouble::sets().size();
  for (const wchar_t* refused : {L"", L"abc", L"101", L"-5", L"30 %", L"%", L"3O", L"30%%"})
    EXPECT_EQ(setValue(a.get(), refused), E_INVALIDARG) << refused;
  EXPECT_EQ(mixerdouble::sets().size(), writes);

  // The slider has no children; what it does not answer itself, the standard object does.
  VARIANT child = self();
  child.lVal = 1;
  BSTR none = nullptr;
  EXPECT_EQ(a->get_accName(child, &none), E_INVALIDARG);
  LONG children = -1;
  EXPECT_EQ(a->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 0);
  ComRef<IDispatch> parent;
  EXPECT_EQ(a->get_accParent(parent.out()), S_OK);
  EXPECT_TRUE(parent);
}

TEST_F(Accessibility, ChangesAreToldOnceEachFromAnySourceOnceAClientAsked) {
  bind();
  SetFocus(slider().window);
  key(VK_RIGHT);  // no client has asked yet: nothing told
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 0);
  EXPECT_EQ(told(EVENT_OBJECT_STATECHANGE), 0);

  ComRef<IAccessible> a = client(slider().window);
  forget();
  key(VK_RIGHT);
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 1);
  forget();
  SendMessageA(slider().window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 1);
  forget();
  mixerdouble::changeControl(0, kVolume, 6553);
  deliverMixerNotifications(slider().window);
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 1);
  EXPECT_EQ(valueOf(a.get()), "10%");
  forget();
  key(' ');
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 1);
  forget();
  slider().handleCommand("@KvSliderConfigure-volume-slider1-10");  // what it shows already
  key(VK_TAB);
  mixerdouble::fail(mixerdouble::Op::SetDetails);  // the device keeps its level
  key(VK_RIGHT);
  mixerdouble::clearFailures();
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 0);

  // Another binding is told as a new name; unbound, the slider becomes unavailable.
  bind();
  EXPECT_EQ(told(EVENT_OBJECT_NAMECHANGE), 1);
  forget();
  slider().unbindControl();
  EXPECT_EQ(told(EVENT_OBJECT_STATECHANGE), 1);
  EXPECT_EQ(told(EVENT_OBJECT_VALUECHANGE), 1);

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
  ProviderOptions options;
  EXPECT_EQ(p->get_ProviderOptions(&options), S_OK);
  EXPECT_EQ(options, ProviderOptions_ServerSideProvider);
  ComRef<IRawElementProviderSimple> host;
  EXPECT_EQ(p->get_HostRawElementProvider(host.out()), S_OK);
  EXPECT_TRUE(host);

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
  double least = -1, most = -1, small = -1, large = -1, now = -1;
  range->get_Minimum(&least);
  range->get_Maximum(&most);
  range->get_SmallChange(&small);
  range->get_LargeChange(&large);
  range->get_Value(&now);
  EXPECT_EQ(least, 0.0);
  EXPECT_EQ(most, 100.0);
  EXPECT_EQ(small, 5.0);
  EXPECT_EQ(large, 10.0);
  EXPECT_EQ(now, 50.0);
  EXPECT_EQ(range->SetValue(30), S_OK);
  EXPECT_EQ(mixerdouble::sets().back().raw, 19660u);
  const size_t writes = mixerdouble::sets().size();
  for (double refused : {-0.5, 100.5, std::nan("")})
    EXPECT_EQ(range->SetValue(refused), E_INVALIDARG) << refused;
  EXPECT_EQ(mixerdouble::sets().size(), writes);
}

// What UI Automation itself makes of the window's answer (wine reads plain
// properties in-process, no pattern ones).
TEST_F(Accessibility, UiAutomationFindsTheSliderThroughTheWindow) {
  bind();
  HMODULE core = LoadLibraryA("uiautomationcore.dll");
  ASSERT_NE(core, nullptr);
  using Node = void*;
  const auto fromHandle = reinterpret_cast<HRESULT(WINAPI*)(HWND, Node*)>(
      reinterpret_cast<void*>(GetProcAddress(core, "UiaNodeFromHandle")));
  const auto read = reinterpret_cast<HRESULT(WINAPI*)(Node, PROPERTYID, VARIANT*)>(
      reinterpret_cast<void*>(GetProcAddress(core, "UiaGetPropertyValue")));
  const auto release = reinterpret_cast<BOOL(WINAPI*)(Node)>(
      reinterpret_cast<void*>(GetProcAddress(core, "UiaNodeRelease")));
  ASSERT_TRUE(fromHandle && read && release);
  Node node = nullptr;
  ASSERT_EQ(fromHandle(slider().window, &node), S_OK);
  VARIANT v;
  ASSERT_EQ(read(node, kUiaControlTypeProperty, &v), S_OK);
  EXPECT_EQ(v.lVal, kUiaSliderControlType);
  ASSERT_EQ(read(node, kUiaNameProperty, &v), S_OK);
  EXPECT_EQ(narrow(v.bstrVal), "Master Volume");
  release(node);
  FreeLibrary(core);
}

TEST_F(Accessibility, ObjectsHeldAfterTheSliderOrThePluginWentAnswerErrors) {
  bind();
  slider().handleCommand("@KvSliderConfigure-newslider-slider1");
  Slider* second = sliderAt(1);
  ASSERT_NE(second, nullptr);
  ComRef<IAccessible> gone = client(second->window);
  SendMessageA(second->window, WM_GETOBJECT, 0, kUiaRootObjectId);
  IRawElementProviderSimple* goneProvider = second->accessible.uia.get();
  goneProvider->AddRef();
  second->handleCommand("@KvSliderConfigure-removeslider-slider2");
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
  while (step != 1) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    pumpMessages();
  }
  stop();
  step = 2;
  while (step != 3) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    pumpMessages();
  }
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
