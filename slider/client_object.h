#pragma once
// What the objects handed out to accessibility clients share: a reference
// count, a place on the process heap (the C++ runtime's allocator would more
// than double the DLL), a count of the module's live objects, and the way to
// their slider, which is through its window and nothing else: a client may
// hold an object long after the slider, its window and the plug-in are gone.
#include <windows.h>

#include <new>

#include "slider/held_objects.h"
#include "slider/slider.h"

template <typename Self>
class ClientObject {
 public:
  // A new object with one reference, or null when out of memory.
  static Self* make(HWND window) {
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(Self));
    if (memory == nullptr) return nullptr;
    objectMade();
    return new (memory) Self(window);
  }

  // Disconnected: every later call answers an error, also one from a client
  // on the window's own thread, which holds the object itself, not a proxy.
  void retire() { retired_ = true; }

 protected:
  explicit ClientObject(HWND window) : window_(window) {}

  ULONG addReference() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG dropReference() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      Self* self = static_cast<Self*>(this);
      self->~Self();
      HeapFree(GetProcessHeap(), 0, self);
      objectGone();
    }
    return static_cast<ULONG>(left);
  }

  HWND window() const { return window_; }
  Slider* slider() const { return retired_ ? nullptr : sliderOfWindow(window_); }

 private:
  LONG references_ = 1;
  const HWND window_;
  bool retired_ = false;
};
