#include "plugin/sliders.h"

#include <cstring>
#include <new>

#include "host/host_api.h"
#include "host/host_messages.h"
#include "host/module_values.h"
#include "settings/settings_file.h"
#include "slider/placement.h"

struct SliderEntry {
  Slider slider;
  StoredBinding stored;
  bool going = false;  // removed: deleted as soon as its window's messages return
  int calls = 0;       // window procedure calls under way for it
};

namespace {

constexpr int kGap = 4;  // pixels between a slider and the one made from it
// The list of host messages every slider window receives, 0-terminated.
const unsigned kHostMessages[] = {HostMsgReload, HostMsgCommand, 0};

// Plain pointers: the module unloading never deletes a slider (and so never
// calls into COM); stop does, and a plug-in never stopped leaves them be.
SliderEntry* slots[kMostSliders];
int used;

SliderEntry* entryOf(const Slider& s) {
  for (int i = 0; i < used; ++i)
    if (&slots[i]->slider == &s) return slots[i];
  return nullptr;
}

// Out of the list and deleted. The process heap rather than operator new:
// the C++ runtime's allocator would more than double the size of the DLL.
void drop(SliderEntry* e) {
  int at = 0;
  while (at < used && slots[at] != e) ++at;
  if (at == used) return;
  for (int i = at; i + 1 < used; ++i) slots[i] = slots[i + 1];
  slots[--used] = nullptr;
  e->~SliderEntry();
  HeapFree(GetProcessHeap(), 0, e);
}

bool numberTaken(int number) {
  for (int i = 0; i < used; ++i)
    if (slots[i]->slider.number == number) return true;
  return false;
}

int lowestFreeNumber() {
  for (int number = 1; number <= kMostSliders; ++number)
    if (!numberTaken(number)) return number;
  return 0;
}

// Made hidden: a window made visible is activated and takes the keyboard
// focus, and the keys meant for the shell would then set the volume. The
// placement shows it without activating it.
bool createWindow(Slider& s) {
  const DWORD exStyle = WS_EX_TOOLWINDOW | (layeredWindowsAvailable ? WS_EX_LAYERED : 0);
  const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  s.window = CreateWindowExA(exStyle, kSliderClass, nullptr, style, s.x, s.y, s.width, s.height,
                             nullptr, nullptr, moduleInstance, &s);
  return s.window != nullptr;
}

void registerWithHost(const Slider& s) {
  SendMessageA(hostWindow, HostMsgRegister, reinterpret_cast<WPARAM>(s.window),
               reinterpret_cast<LPARAM>(kHostMessages));
  MakeSticky(s.window);
}

void unregisterFromHost(const Slider& s) {
  if (s.window == nullptr) return;
  RemoveSticky(s.window);
  SendMessageA(hostWindow, HostMsgUnregister, reinterpret_cast<WPARAM>(s.window),
               reinterpret_cast<LPARAM>(kHostMessages));
}

// Its window, the binding's notifications, what the file said it is bound
// to, its registration with the host and its placement. False (the box
// shown, its binding let go) when its window cannot be made: it stays in the
// list, and its keys stay in the file as they are.
bool start(SliderEntry& e) {
  Slider& s = e.slider;
  if (!createWindow(s)) {
    MessageBoxA(nullptr, "Error creating window", kPluginTitle, MB_TOPMOST | MB_ICONERROR);
    unbindVolume(s.binding);
    return false;
  }
  attachWindow(s.binding, s.window);
  restoreStoredBinding(s, e.stored);
  registerWithHost(s);
  s.applyWindowState();
  return true;
}

// The one way out. Every binding goes before any window does, so that no
// notification is on its way to a window that is gone; a slider whose
// window procedure is under way is deleted once that returns.
void letGo(SliderEntry* const* entries, int count) {
  for (int i = 0; i < count; ++i) {
    unregisterFromHost(entries[i]->slider);
    unbindVolume(entries[i]->slider.binding);
  }
  for (int i = 0; i < count; ++i) {
    Slider& s = entries[i]->slider;
    if (s.window != nullptr) DestroyWindow(s.window);
    s.window = nullptr;
  }
  for (int i = 0; i < count; ++i) {
    entries[i]->going = true;  // only now: the destruction's own messages must not delete it
    if (entries[i]->calls == 0) drop(entries[i]);
  }
}

void letAllGo() {
  SliderEntry* all[kMostSliders];
  const int count = used;
  for (int i = 0; i < count; ++i) all[i] = slots[i];
  letGo(all, count);
}

bool writeList() {
  int numbers[kMostSliders];
  int count = 0;
  for (int i = 0; Slider* s = sliderAt(i); ++i) numbers[count++] = s->number;
  return writeSliderList(settingsPath, numbers, count);
}

void copyShape(const Slider& from, Slider& to) {
  to.width = from.width;
  to.height = from.height;
  to.margin = from.margin;
  to.knobWidth = from.knobWidth;
  to.knobHeight = from.knobHeight;
  to.trackHeight = from.trackHeight;
  to.alwaysOnTop = from.alwaysOnTop;
  to.snapWindow = from.snapWindow;
  to.toggleWithPlugins = from.toggleWithPlugins;
  to.draggable = from.draggable;
  to.pluginsHidden = from.pluginsHidden;
  to.transparent = from.transparent;
  to.alpha = from.alpha;
  to.wheelStep = from.wheelStep;
  to.updateKnobFromValue();
}

void placeNextTo(const Slider& from, Slider& to) {
  to.x = from.x;
  to.y = from.y + from.height + kGap;
  if (!touchesAnyMonitor(to.x, to.y, to.width, to.height)) to.y = from.y - from.height - kGap;
}

}  // namespace

int sliderCount() {
  int count = 0;
  for (int i = 0; i < used; ++i)
    if (!slots[i]->going) ++count;
  return count;
}

Slider* sliderAt(int index) {
  for (int i = 0; i < used; ++i) {
    if (slots[i]->going) continue;
    if (index-- == 0) return &slots[i]->slider;
  }
  return nullptr;
}

Slider* findSlider(const char* name) {
  for (int i = 0; i < used; ++i)
    if (!slots[i]->going && std::strcmp(slots[i]->slider.name, name) == 0) return &slots[i]->slider;
  return nullptr;
}

StoredBinding& storedBindingOf(const Slider& s) { return entryOf(s)->stored; }

Slider* addSlider(int number) {
  if (used == kMostSliders || number < 1 || number > kMostSliders) return nullptr;
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SliderEntry));
  if (memory == nullptr) return nullptr;
  SliderEntry* e = new (memory) SliderEntry();
  e->slider.initialise(number);
  slots[used++] = e;
  return &e->slider;
}

void clearSliders() {
  while (used > 0) drop(slots[used - 1]);
}

bool startSliders() {
  clearSliders();
  int numbers[kMostSliders];
  const int count = readSliderList(settingsPath, numbers);
  for (int i = 0; i < count; ++i)
    if (Slider* s = addSlider(numbers[i]))
      readSliderSettings(*s, storedBindingOf(*s), settingsPath);
  int running = 0;
  for (int i = 0; i < used; ++i)
    if (start(*slots[i])) ++running;
  if (running > 0) return true;
  letAllGo();
  return false;
}

// A slider whose window could not be made keeps its keys as they were read.
void stopSliders() {
  for (int i = 0; Slider* s = sliderAt(i); ++i)
    if (s->window != nullptr) writeSliderSettings(*s, storedBindingOf(*s), settingsPath);
  writeList();
  letAllGo();
}

void addSliderLike(const Slider& s) {
  if (sliderCount() >= kMostSliders) return;  // no item offers it then
  Slider* made = addSlider(lowestFreeNumber());
  if (made == nullptr) return;
  copyShape(s, *made);
  placeNextTo(s, *made);
  SliderEntry* e = entryOf(*made);
  if (!start(*e)) {
    letGo(&e, 1);
    return;
  }
  // Written at once: a crash of the shell must not lose it, nor give it old keys.
  writeSliderSettings(*made, e->stored, settingsPath);
  writeList();
}

void removeSlider(Slider& s) {
  if (sliderCount() <= 1) return;
  SliderEntry* e = entryOf(s);
  if (e == nullptr || e->going) return;
  letGo(&e, 1);
  writeList();
}

SliderCall::SliderCall(const Slider& s) : entry_(entryOf(s)) {
  if (entry_ != nullptr) ++entry_->calls;
}

SliderCall::~SliderCall() {
  if (entry_ != nullptr && --entry_->calls == 0 && entry_->going) drop(entry_);
}

bool SliderCall::going() const { return entry_ == nullptr || entry_->going; }
