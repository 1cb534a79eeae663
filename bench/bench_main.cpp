// Prints how long the plug-in's hot paths take under this platform: one drag
// step, one paint, building the configuration menu and starting up. Every figure
// is the minimum and median over repeated rounds; where the platform does part
// of the work (window messages, GDI, the mixer driver) its share is measured on
// its own and shown beside the total.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_host.h"
#include "commands/config_menu.h"
#include "host/module_values.h"
#include "mixer/app_kind.h"
#include "mixer/endpoint_kind.h"
#include "mixer/winmm_kind.h"
#include "plugin/entry_points.h"
#include "plugin/sliders.h"
#include "slider/paint_buffer.h"

#ifdef KV_BENCH_DOUBLE
#include "tests/doubles/endpoint_double.h"
#include "tests/doubles/mixer_double.h"
#endif

namespace {

constexpr int kRounds = 21;
constexpr char kSixteenSliders[] =
    "slider1 slider2 slider3 slider4 slider5 slider6 slider7 slider8 slider9 slider10 slider11 "
    "slider12 slider13 slider14 slider15 slider16";

// The slider the figures are taken on: the first, or the last of several.
Slider* measured;
Slider& slider() { return *measured; }

double now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figure {
  double min, median;  // microseconds per operation
};

// Runs body(iterations) kRounds times and reports microseconds per iteration.
Figure measure(int iterations, const std::function<void(int)>& body) {
  std::vector<double> perOp;
  for (int r = 0; r < kRounds; ++r) {
    const double start = now();
    body(iterations);
    perOp.push_back((now() - start) * 1e6 / iterations);
  }
  std::sort(perOp.begin(), perOp.end());
  return {perOp.front(), perOp[perOp.size() / 2]};
}

void row(const char* what, Figure total, const char* platformWhat, Figure platform) {
  std::printf("| %s | %.2f | %.2f | %s | %.2f | %.2f |\n", what, total.min, total.median,
              platformWhat, platform.min, platform.median);
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The platform's part of a double-buffered paint with nothing drawn: BeginPaint,
// one BitBlt, EndPaint; the memory DC and bitmap kept, or (as the plug-in did
// before it kept its buffer) made and deleted on every paint.
bool baselineKeepsBuffer = true;

void baselinePaint(HWND hwnd) {
  static HDC kept = nullptr;
  static HGDIOBJ original = nullptr;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  if (kept == nullptr) {
    kept = CreateCompatibleDC(nullptr);
    original = SelectObject(kept, CreateCompatibleBitmap(dc, client.right, client.bottom));
  }
  BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
         ps.rcPaint.bottom - ps.rcPaint.top, kept, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  if (!baselineKeepsBuffer) {
    DeleteObject(SelectObject(kept, original));
    DeleteDC(kept);
    kept = nullptr;
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK baselineProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    baselinePaint(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND makeWindow(const char* cls, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);
  return CreateWindowExA(WS_EX_TOOLWINDOW, cls, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 24, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

#ifdef KV_BENCH_DOUBLE
constexpr const char* kMixer = "mixer double";
void setUpMixer(int devices, int destinations, int sources, int controls) {
  mixerdouble::reset();
  DWORD nextId = 1;
  for (int d = 0; d < devices; ++d) {
    mixerdouble::Device device;
    device.name = "Device " + std::to_string(d);
    for (int i = 0; i < destinations; ++i) {
      mixerdouble::Line dest;
      dest.id = 0xFFFF0000u + static_cast<DWORD>(i);
      dest.name = "Destination " + std::to_string(i);
      for (int c = 0; c < controls; ++c)
        dest.controls.push_back(
            {nextId++, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 30000, false});
      for (int s = 0; s < sources; ++s) {
        mixerdouble::Line src;
        src.id = static_cast<DWORD>(i * 100 + s);
        src.name = "Source " + std::to_string(s);
        for (int c = 0; c < controls; ++c)
          src.controls.push_back(
              {nextId++, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 30000, false});
        dest.sources.push_back(src);
      }
      device.destinations.push_back(dest);
    }
    mixerdouble::addDevice(device);
  }
}
void bindFirstControl() { slider().take(bindMixerControl(slider().binding, 0, 0xFFFF0000u, 1)); }
#else
constexpr const char* kMixer = "wine winmm";
void setUpMixer(int, int, int, int) {}
void bindFirstControl() { slider().take(bindMixerControl(slider().binding, 0, 0xFFFF0000u, 0)); }
#endif

Figure platformWrite() {
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, 0, 0, 0, 0) != MMSYSERR_NOERROR) return {0, 0};
  MIXERCONTROLDETAILS_UNSIGNED v = {0};
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof details;
  details.dwControlID = slider().binding.winmm.controlId;
  details.cChannels = 1;
  details.cbDetails = sizeof v;
  details.paDetails = &v;
  const DWORD flags = MIXER_OBJECTF_HMIXER;
  Figure f = measure(200, [&](int n) {
    for (int i = 0; i < n; ++i) {
      mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details, flags);
      v.dwValue = static_cast<DWORD>(i * 300);
      mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details, flags);
    }
  });
  mixerClose(mixer);
  return f;
}

#ifdef KV_BENCH_DOUBLE
constexpr const char* kEndpoint = "endpoint, fake enumerator";
// The fake answers in the benchmark's own apartment, without echoing sets.
void setUpEndpoints() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  endpointdouble::install();
  endpointdouble::reset(true);
  endpointdouble::addEndpoint({L"{bench}", L"Speakers", 0.5f});
  endpointdouble::switchDefault(0);
  endpointdouble::setEchoes(false);
}
#else
constexpr const char* kEndpoint = "endpoint, wine Core Audio";
void setUpEndpoints() {}
#endif

// The endpoint's set alone, and where it is refused the read that follows.
Figure platformEndpointWrite() {
  return measure(500, [](int n) {
    for (int i = 0; i < n; ++i) {
      double level = 0.0;
      const EndpointVolume& e = slider().binding.endpoint;
      if (!writeEndpointLevel(e, (i % 192) / 192.0)) readEndpointLevel(e, level);
    }
  });
}

// A drag step as the system delivers it, and the window procedure called
// directly; the platform's parts (the repaint request, the driver's or the
// endpoint's calls) are timed alone and taken off the direct figure.
void benchDragStep(const char* kind, const char* platformWhat, Figure (*platformWrite)()) {
  if (!volumeBound(slider().binding)) {
    std::printf("| drag step (%s) | not bound | | | | |\n", kind);
    return;
  }
  HWND w = slider().window;
  slider().dragging = true;
  const auto move = [](int i) { return MAKELPARAM(4 + (i * 7) % 192, 5); };
  const Figure sent = measure(500, [&](int n) {
    for (int i = 0; i < n; ++i) SendMessageA(w, WM_MOUSEMOVE, 0, move(i));
  });
  const Figure direct = measure(500, [&](int n) {
    for (int i = 0; i < n; ++i) slider().windowProc(w, WM_MOUSEMOVE, 0, move(i));
  });
  // The same step's own work without the repaint request: knob, value, write.
  const Figure alone = measure(2000, [&](int n) {
    for (int i = 0; i < n; ++i) {
      slider().setKnobFromPointer(LOWORD(move(i)));
      slider().updateValueFromKnob();
      slider().writeLevel();
    }
  });
  slider().dragging = false;
  const Figure invalidate = measure(500, [&](int n) {
    for (int i = 0; i < n; ++i) InvalidateRect(w, nullptr, FALSE);
  });
  pump();
  const Figure platform = platformWrite();
  char label[96];
  std::snprintf(label, sizeof label, "drag step, sent as WM_MOUSEMOVE (%s)", kind);
  row(label, sent, "InvalidateRect alone", invalidate);
  row("drag step, window procedure called directly", direct, platformWhat, platform);
  row("drag step without the repaint request", alone, "", {0, 0});
  std::printf(
      "| **plug-in's own share of a drag step** (without repaint request and %s) | "
      "%.2f | %.2f | | | |\n",
      platformWhat, std::max(0.0, alone.min - platform.min),
      std::max(0.0, alone.median - platform.median));
}

void benchDragSteps() {
#ifdef KV_BENCH_DOUBLE
  mixerdouble::setNotifications(false);  // as under wine: a set posts nothing back
#endif
  bindFirstControl();
  benchDragStep(kMixer, "mixer fetch + set alone", platformWrite);
  // The same with a ceiling the drag keeps running into (the knob stops at it).
  slider().setCeiling(50);
  char label[64];
  std::snprintf(label, sizeof label, "%s, a ceiling of 50%%", kMixer);
  benchDragStep(label, "mixer fetch + set alone", platformWrite);
  slider().setCeiling(100);
  setUpEndpoints();
  slider().take(bindEndpoint(slider().binding, eRender, 0));
  benchDragStep(kEndpoint, "endpoint set alone", platformEndpointWrite);
  slider().unbindControl();
  bindFirstControl();
}

// A screen reader's WinEvent hook, out of context, on a thread of its own
// that takes the events as they come.
class HookedReader {
 public:
  HookedReader() {
    thread_ = std::thread([this] {
      HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
                                           nullptr, count, 0, 0, WINEVENT_OUTOFCONTEXT);
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
      id_ = GetCurrentThreadId();
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
      UnhookWinEvent(hook);
    });
    while (id_ == 0) Sleep(1);
  }
  ~HookedReader() {
    PostThreadMessageA(id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  static long told() { return told_; }

 private:
  static void CALLBACK count(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++told_; }
  static std::atomic<long> told_;
  std::atomic<DWORD> id_{0};
  std::thread thread_;
};
std::atomic<long> HookedReader::told_{0};

// The platform's part of a told drag step: the mixer's fetch and set, and
// the WinEvent.
class PlatformStep {
 public:
  PlatformStep() {
    mixerOpen(&mixer_, 0, 0, 0, 0);
    details_.cbStruct = sizeof details_;
    details_.dwControlID = slider().binding.winmm.controlId;
    details_.cChannels = 1;
    details_.cbDetails = sizeof value_;
    details_.paDetails = &value_;
  }
  ~PlatformStep() {
    if (mixer_ != nullptr) mixerClose(mixer_);
  }
  bool open() const { return mixer_ != nullptr; }
  void run(int i) {
    const auto object = reinterpret_cast<HMIXEROBJ>(mixer_);
    mixerGetControlDetailsA(object, &details_, MIXER_OBJECTF_HMIXER);
    value_.dwValue = static_cast<DWORD>(i * 300);
    mixerSetControlDetails(object, &details_, MIXER_OBJECTF_HMIXER);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, slider().window, OBJID_CLIENT, CHILDID_SELF);
  }

 private:
  HMIXER mixer_ = nullptr;
  MIXERCONTROLDETAILS_UNSIGNED value_ = {0};
  MIXERCONTROLDETAILS details_ = {};
};

// The same drag step once a client has asked for the slider's object, with a
// screen reader hooked for value changes: every step is told. The WinEvent
// costs tens of µs under wine and varies with the reader's thread, so each
// round times the step and its platform part back to back, and the plug-in's
// own share is taken per round.
void benchDragStepReadAloud() {
  const HookedReader reader;
  IAccessible* client = nullptr;
  AccessibleObjectFromWindow(slider().window, OBJID_CLIENT, __uuidof(IAccessible),
                             reinterpret_cast<void**>(&client));
  bindFirstControl();
  PlatformStep platform;
  if (client == nullptr || !platform.open()) {
    std::printf("| drag step, a screen reader hooked | no object or mixer | | | | |\n");
    if (client != nullptr) client->Release();
    return;
  }
  // Wine looks up whether a thread has hooks only when it takes messages: a
  // hook set since is not yet seen by NotifyWinEvent until then.
  pump();
  const long before = HookedReader::told();
  constexpr int kSteps = 500;
  std::vector<double> alone, platformPart, own;
  for (int r = 0; r < kRounds; ++r) {
    double start = now();
    for (int i = 0; i < kSteps; ++i) {
      slider().setKnobFromPointer(4 + (i * 7) % 192);
      slider().updateValueFromKnob();
      slider().writeLevel();
    }
    const double step = (now() - start) * 1e6 / kSteps;
    start = now();
    for (int i = 0; i < kSteps; ++i) platform.run(i);
    const double part = (now() - start) * 1e6 / kSteps;
    alone.push_back(step);
    platformPart.push_back(part);
    own.push_back(std::max(0.0, step - part));
  }
  for (auto* v : {&alone, &platformPart, &own}) std::sort(v->begin(), v->end());
  const auto figure = [](const std::vector<double>& v) {
    return Figure{v.front(), v[v.size() / 2]};
  };
  char label[96];
  std::snprintf(label, sizeof label,
                "drag step without the repaint request (%s, a screen reader hooked)", kMixer);
  row(label, figure(alone), "mixer fetch + set and NotifyWinEvent alone", figure(platformPart));
  const Figure share = figure(own);
  std::printf(
      "| **plug-in's own share of a told drag step** (each round less its platform part) | "
      "%.2f | %.2f | | | |\n",
      share.min, share.median);
  Sleep(200);
  std::printf("| (value changes the reader had taken 200 ms later: %ld of %d steps) | | | | | |\n",
              HookedReader::told() - before, 2 * kRounds * kSteps);
  client->Release();
}

Figure redraws(HWND w) {
  return measure(200, [&](int n) {
    for (int i = 0; i < n; ++i) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  });
}

// The paint itself: WM_PAINT handled, BeginPaint to EndPaint, timed alone. The
// invalidation before it is the requester's part, and the system's check for an
// update region on the way to the window procedure is timed by redraws().
Figure paints(
    HWND w, const std::function<void()>& after = [] {}) {
  std::vector<double> perOp;
  for (int r = 0; r < kRounds; ++r) {
    double spent = 0.0;
    for (int i = 0; i < 200; ++i) {
      InvalidateRect(w, nullptr, FALSE);
      const double start = now();
      SendMessageA(w, WM_PAINT, 0, 0);
      spent += now() - start;
      after();
    }
    perOp.push_back(spent * 1e6 / 200);
  }
  std::sort(perOp.begin(), perOp.end());
  return {perOp.front(), perOp[perOp.size() / 2]};
}

void resize(HWND w, int width, int height) {
  SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  pump();
}

// A paint with the buffer kept, and beside it the same paint with the buffer
// released after each one, which is how every paint went before it was kept;
// then the whole redraw cycle around it, and the same cycle with nothing drawn.
void benchPaint(int width, int height) {
  HWND w = slider().window;
  slider().width = width;
  slider().height = height;
  resize(w, width, height);
  benchhost::resetCounters();
  const Figure total = paints(w);
  const double gradientPerPaint = benchhost::gradientSeconds() * 1e6 / (kRounds * 200);
  const Figure perPaintBuffer = paints(w, [] { slider().paintBuffer.release(); });
  const Figure redraw = redraws(w);

  HWND baseline = makeWindow("KvBenchPaintBaseline", baselineProc);
  resize(baseline, width, height);
  const Figure empty = paints(baseline);
  const Figure emptyRedraw = redraws(baseline);
  baselineKeepsBuffer = false;
  const Figure emptyPerPaint = paints(baseline);
  baselineKeepsBuffer = true;
  DestroyWindow(baseline);

  char label[96];
  std::snprintf(label, sizeof label, "paint %dx%d (WM_PAINT, BeginPaint to EndPaint)", width,
                height);
  row(label, total, "the same, buffer made every paint (before)", perPaintBuffer);
  row("empty paint, buffer kept", empty, "empty paint, buffer made every paint", emptyPerPaint);
  std::snprintf(label, sizeof label, "redraw %dx%d (RedrawWindow: invalidate, deliver, paint)",
                width, height);
  row(label, redraw, "empty redraw, buffer kept", emptyRedraw);
  std::printf(
      "| **plug-in's own share of a paint %dx%d** (less the empty paint and the host's fills, "
      "%.2f µs) | %.2f | %.2f | | | |\n",
      width, height, gradientPerPaint, std::max(0.0, total.min - empty.min - gradientPerPaint),
      std::max(0.0, total.median - empty.median - gradientPerPaint));
}

// Building and showing the menu, with the number of host calls it makes.
void menuRow(const char* what) {
  const Figure f = measure(5, [&](int n) {
    for (int i = 0; i < n; ++i) showConfigMenu(slider());
  });
  benchhost::resetCounters();
  showConfigMenu(slider());
  char platform[64];
  std::snprintf(platform, sizeof platform, "host menu calls per build: %d", benchhost::menuCalls());
  row(what, f, platform, {0, 0});
}

#ifdef KV_BENCH_DOUBLE
std::wstring imagePath(int app) {
  return L"{0.0.0.00000000}.{bench}|\\Device\\HarddiskVolume1\\Apps\\app" + std::to_wstring(app) +
         L".exe%b{00000000-0000-0000-0000-000000000000}";
}

// 50 sessions of 25 programs over two endpoints: the Control menu with its
// Applications submenu.
void benchAppMenu() {
  setUpMixer(1, 1, 0, 1);  // one small mixer device: the figure is the sessions'
  endpointdouble::reset(true);
  endpointdouble::addEndpoint({L"{bench}", L"Speakers", 0.5f});
  endpointdouble::addEndpoint({L"{bench2}", L"Headset", 0.5f});
  endpointdouble::switchDefault(0);
  for (int i = 0; i < 50; ++i) {
    endpointdouble::Session s;
    s.processId = 0x7FFF0000u + static_cast<DWORD>(i);
    s.identifier = imagePath(i % 25);
    endpointdouble::addSession(static_cast<size_t>(i % 2), s);
  }
  menuRow("menu with 50 sessions of 25 programs over 2 endpoints, 1 mixer device (doubles)");
}

// A drag step on a program with 8 sessions: every one of them is set.
void benchAppDrag() {
  endpointdouble::setEchoes(false);
  slider().take(bindApp(slider().binding, 0x7FFF0000u));  // app0: sessions 0, 25, the six below
  for (int i = 0; i < 6; ++i) {
    endpointdouble::Session s;
    s.processId = 0x7FFF1000u + static_cast<DWORD>(i);
    s.identifier = imagePath(0);
    endpointdouble::createSession(static_cast<size_t>(i % 2), s);
  }
  pump();
  std::printf("| (application bound: %d sessions) | | | | | |\n",
              slider().binding.app.sessionCount);
  benchDragStep("application, 8 sessions, fake enumerator", "", [] { return Figure{0, 0}; });
  slider().unbindControl();
}

double threadSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME f) {
    return static_cast<double>(static_cast<ULONGLONG>(f.dwHighDateTime) << 32 | f.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

// A program that opens and closes streams as fast as it can: 500 sessions a
// second for 10 s while a slider is bound to it. The window thread's time in
// the plug-in, then how soon a session that appears after the burst holds
// the level.
void benchSessionChurn() {
  constexpr double kSeconds = 10.0;
  constexpr int kPerSecond = 500;
  endpointdouble::reset(true);
  endpointdouble::setEchoes(false);  // the fake's echoes cost threads of its own
  endpointdouble::addEndpoint({L"{bench}", L"Speakers", 0.5f});
  endpointdouble::switchDefault(0);
  endpointdouble::Session player;
  player.processId = 0x7FFF2000u;
  player.identifier = imagePath(99);
  player.level = 0.3f;
  endpointdouble::addSession(0, player);
  slider().take(bindApp(slider().binding, player.processId));
  pump();
  HWND w = slider().window;
  endpointdouble::startSessionChurn(0, player, kPerSecond);
  double inPlugin = 0.0;
  int handled = 0;
  const double cpuBefore = threadSeconds();
  const double start = now();
  while (now() - start < kSeconds) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      continue;
    }
    const double t0 = now();
    DispatchMessageA(&msg);
    if (msg.hwnd == w) inPlugin += now() - t0, ++handled;
  }
  const double cpu = threadSeconds() - cpuBefore;
  endpointdouble::stopSessionChurn();
  const int churned = endpointdouble::sessionsChurned();
  pump();

  player.processId += 1;
  player.level = 1.0f;
  const double appeared = now();
  const size_t later = endpointdouble::createSession(0, player);
  while (std::abs(endpointdouble::sessionLevel(later) - 0.3f) > 1e-4f && now() - appeared < 1.0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    pump();
  }
  const double latency = now() - appeared;
  std::printf("\n| a program churning sessions, bound (fake enumerator) | figure | target |\n");
  std::printf("|---|---|---|\n");
  std::printf("| sessions that came and went | %d in %.0f s | %d a second |\n", churned, kSeconds,
              kPerSecond);
  std::printf(
      "| window thread in the plug-in | %.3f s (%.2f %% of one core), %d messages | "
      "at most 0.5 s (5 %%) |\n",
      inPlugin, 100.0 * inPlugin / kSeconds, handled);
  std::printf("| window thread's CPU time, its message loop included | %.3f s (%.2f %%) | |\n", cpu,
              100.0 * cpu / kSeconds);
  std::printf(
      "| a session appearing after the burst holds the level after | %.2f ms | "
      "at most 100 ms |\n",
      latency * 1e3);
  slider().unbindControl();
  pump();
}
#else
void benchAppMenu() {}
void benchAppDrag() {}
void benchSessionChurn() {}
#endif

void benchMenu() {
#ifdef KV_BENCH_DOUBLE
  const char* what = "menu 8 devices x 4 dest x 8 src x 8 controls, 1 endpoint (doubles)";
#else
  const char* what = "menu of wine's endpoints and mixer devices";
#endif
  menuRow(what);
}

// From the host's call to shown, registered windows; stopping is not counted.
Figure starts(HINSTANCE instance, const char* list) {
  benchhost::setSliderList(list);
  std::vector<double> taken;
  for (int r = 0; r < kRounds; ++r) {
    const double t0 = now();
    beginPlugin(instance);
    taken.push_back((now() - t0) * 1e6);
    endPlugin(instance);
    pump();
  }
  std::sort(taken.begin(), taken.end());
  return {taken.front(), taken[taken.size() / 2]};
}

void benchStart(HINSTANCE instance) {
  const Figure one = starts(instance, "");
  const Figure sixteen = starts(instance, kSixteenSliders);
  row("beginPlugin to a shown window", one, "", {0, 0});
  char growth[64];
  std::snprintf(growth, sizeof growth, "%.1f times one start (median)",
                sixteen.median / one.median);
  row("beginPlugin to 16 shown windows", sixteen, growth, {0, 0});
}

// A drag step on the last of 16 sliders, beside the same on a lone slider.
void benchManySliders(HINSTANCE instance) {
  benchhost::setSliderList(kSixteenSliders);
  beginPlugin(instance);
  measured = sliderAt(kMostSliders - 1);
  pump();
#ifdef KV_BENCH_DOUBLE
  mixerdouble::setNotifications(false);  // as in the lone slider's figures
#endif
  bindFirstControl();
  benchDragStep("one of 16 sliders, mixer", "mixer fetch + set alone", platformWrite);
  endPlugin(instance);
  benchhost::setSliderList("");
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  benchhost::setHostWindow(makeWindow("KvBenchHost", DefWindowProcA));
  setUpMixer(1, 1, 0, 1);
  if (beginPlugin(instance) != 0) {
    std::printf("beginPlugin failed\n");
    return 1;
  }
  measured = sliderAt(0);
  std::printf("\n| figure (%s; %s) | min µs | median µs | platform share | min µs | median µs |\n",
              kMixer, kEndpoint);
  std::printf("|---|---|---|---|---|---|\n");
  benchDragSteps();
  benchDragStepReadAloud();
  benchPaint(200, 24);
  benchPaint(1000, 64);
  setUpMixer(8, 4, 8, 8);
  benchMenu();
  benchAppMenu();
  benchAppDrag();
  benchSessionChurn();
  endPlugin(instance);
  benchStart(instance);
  setUpMixer(1, 1, 0, 1);
  benchManySliders(instance);
  return 0;
}
