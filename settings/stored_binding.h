#pragma once
// What the settings file says a slider is bound to. Read with the rest of its
// keys at start: a mixer control is bound at once (its device is opened again
// for the window later), an endpoint or a program once the window exists to
// hear from it. What cannot be read or made now is not forgotten: its keys
// stay as the file has them until the user chooses something else.
#include "host/module_values.h"
#include "slider/slider.h"

struct StoredBinding {
  enum class Waiting { Nothing, Endpoint, Microphone, App };
  Waiting waiting = Waiting::Nothing;  // to be bound once the window exists
  char text[kTextSize] = "";           // the endpoint's or the program's key, as read
  bool whole = false;                  // false: the host may have cut it
  double level = 1.0;                  // held for a program
  bool kept = false;                   // the file's binding keys stay as they are...
  unsigned keptAt = 0;                 // ...while the binding's choices still number this
};

void readStoredBinding(Slider& s, StoredBinding& stored, const char* path);
void restoreStoredBinding(Slider& s, StoredBinding& stored);
void writeStoredBinding(const Slider& s, const StoredBinding& stored, const char* path);
// Nothing was chosen since a binding read from the file was kept.
bool keptFromFile(const Slider& s, const StoredBinding& stored);
