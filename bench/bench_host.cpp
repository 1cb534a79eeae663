#include "bench/bench_host.h"

#include "host/host_api.h"

struct HostMenuRecord {
  int items;
};

namespace {
HWND hostWindow;
const char* sliderList = "";
LARGE_INTEGER frequency;
LONGLONG gradientTicks;
int menuCallCount;
HostMenuRecord menus[4096];
int nextMenu;

void countMenuCall() { ++menuCallCount; }
}  // namespace

namespace benchhost {
void setHostWindow(HWND window) { hostWindow = window; }
void setSliderList(const char* list) { sliderList = list; }
double gradientSeconds() {
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(gradientTicks) / static_cast<double>(frequency.QuadPart);
}
int menuCalls() { return menuCallCount; }
void resetCounters() {
  gradientTicks = 0;
  menuCallCount = 0;
}
}  // namespace benchhost

extern "C" {
HWND GetKvWnd(void) { return hostWindow; }
BOOL __stdcall GetTolvanePath(char* buffer, int size) {
  if (size > 0) lstrcpynA(buffer, "C:\\bench\\", size);
  return TRUE;
}
bool FileExists(const char*) { return false; }
const char* stylePath(const char*) { return "C:\\bench\\none.style"; }
int ReadInt(const char*, const char*, int d) { return d; }
bool ReadBool(const char*, const char*, bool d) { return d; }
const char* ReadString(const char*, const char* key, const char* d) {
  return lstrcmpA(key, "kvslider.sliders:") == 0 ? sliderList : d;
}
COLORREF ReadColor(const char*, const char*, const char*) { return RGB(40, 60, 90); }
bool WriteInt(const char*, const char*, int) { return true; }
bool WriteBool(const char*, const char*, bool) { return true; }
bool WriteString(const char*, const char*, const char*) { return true; }
bool ParseItem(char*, Texture* t) {
  *t = Texture{};
  return true;
}
void MakeGradient(HDC dc, RECT r, int, COLORREF from, COLORREF, uint8_t, int, int, int, COLORREF,
                  int) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  HBRUSH brush = CreateSolidBrush(from);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  QueryPerformanceCounter(&end);
  gradientTicks += end.QuadPart - start.QuadPart;
}
HostMenu MakeMenu(const char*) {
  countMenuCall();
  HostMenuRecord* m = &menus[nextMenu++ % 4096];
  m->items = 0;
  return m;
}
void MakeSubmenu(HostMenu parent, HostMenu, const char*) {
  countMenuCall();
  if (parent) ++parent->items;
}
void MakeMenuItem(HostMenu menu, const char*, const char*, bool) {
  countMenuCall();
  if (menu) ++menu->items;
}
void MakeMenuNOP(HostMenu menu, const char*) {
  countMenuCall();
  if (menu) ++menu->items;
}
void ShowMenu(HostMenu) {}
void DelMenu(HostMenu) {}
void MakeSticky(HWND) {}
void RemoveSticky(HWND) {}
void SnapWindowToEdge(WINDOWPOS*, int, int) {}
}
