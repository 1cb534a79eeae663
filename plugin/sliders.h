#pragma once
// The plug-in's sliders, in the order they were made, and their whole life in
// one place: start, a new one, one removed, and stop, with one way out for
// every slider that goes. Each slider owns its record, window, binding,
// tooltip and buffer; what its settings file said of its binding is kept here
// beside it (settings/stored_binding.h).
#include "settings/slider_names.h"
#include "settings/stored_binding.h"
#include "slider/slider.h"

int sliderCount();            // the sliders in use (not those going)
Slider* sliderAt(int index);  // in list order; null past the end
Slider* findSlider(const char* name);
StoredBinding& storedBindingOf(const Slider& s);

// At start: the sliders the settings file lists, each with its keys, each
// started. False, with all of it undone, when no slider has a window.
bool startSliders();
// At stop: every slider's keys and the list written, then every slider goes.
void stopSliders();
// "New slider": one more, with the lowest free number, shaped like s and
// below it (above where below is off every monitor), unbound; its keys and
// the list are written at once. Nothing when 16 exist.
void addSliderLike(const Slider& s);
// "Remove this slider": it goes, with its binding and window; its keys stay
// in the file, unread, and the list is written at once. The last one stays.
void removeSlider(Slider& s);

// Around every window procedure call for s: a slider that goes while one of
// its messages is handled is deleted once the last of them has returned.
class SliderCall {
 public:
  explicit SliderCall(const Slider& s);
  ~SliderCall();
  SliderCall(const SliderCall&) = delete;
  SliderCall& operator=(const SliderCall&) = delete;
  bool going() const;  // removed: it hears nothing more

 private:
  struct SliderEntry* entry_;
};

// A slider with its load-time values at the end of the list (null when the
// list is full), and the list emptied: for a start, and for tests.
Slider* addSlider(int number);
void clearSliders();
