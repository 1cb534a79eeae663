#include <windows.h>

#include "plugin/slider_list.h"

#include <cstring>
#include <new>

namespace {

// Plain pointers: the module unloading never deletes a slider (and so never
// calls into COM); endPlugin does, and a plug-in never stopped leaves them be.
Slider* slots[kMaxSliders];
int used;

int indexOf(const Slider* s) {
  for (int i = 0; i < used; ++i)
    if (slots[i] == s) return i;
  return -1;
}

bool numberTaken(int number) {
  for (int i = 0; i < used; ++i)
    if (slots[i]->number == number) return true;
  return false;
}

}  // namespace

int sliderCount() {
  int count = 0;
  for (int i = 0; i < used; ++i)
    if (!slots[i]->removing) ++count;
  return count;
}

Slider* sliderAt(int index) {
  for (int i = 0; i < used; ++i) {
    if (slots[i]->removing) continue;
    if (index-- == 0) return slots[i];
  }
  return nullptr;
}

Slider* findSlider(const char* name) {
  for (int i = 0; i < used; ++i)
    if (!slots[i]->removing && std::strcmp(slots[i]->name, name) == 0) return slots[i];
  return nullptr;
}

int lowestFreeSliderNumber() {
  for (int number = 1; number <= kMaxSliders; ++number)
    if (!numberTaken(number)) return number;
  return 0;
}

Slider* addSlider(int number) {
  if (used == kMaxSliders || number < 1 || number > kMaxSliders) return nullptr;
  // The process heap rather than operator new: the C++ runtime's allocator
  // would more than double the size of the DLL.
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Slider));
  if (memory == nullptr) return nullptr;
  Slider* s = new (memory) Slider();
  s->initialise(number);
  slots[used++] = s;
  return s;
}

void dropSlider(Slider* s) {
  const int at = indexOf(s);
  if (at < 0) return;
  for (int i = at; i + 1 < used; ++i) slots[i] = slots[i + 1];
  slots[--used] = nullptr;
  releaseBinding(s->binding);
  s->destroyWindow();
  s->~Slider();
  HeapFree(GetProcessHeap(), 0, s);
}

void clearSliders() {
  while (used > 0) dropSlider(slots[used - 1]);
}
