#pragma once
// Telling accessibility clients what changed, from whatever source: the value
// (level in whole per cent, or mute) as EVENT_OBJECT_VALUECHANGE and a UI
// Automation RangeValue change, a new binding as EVENT_OBJECT_NAMECHANGE, and
// the state (bound, focused) as EVENT_OBJECT_STATECHANGE. Nothing is told
// until a client has asked for the slider's object: a slider no one reads
// pays one test of a flag per change.
#include "slider/slider.h"

// The first request: what the slider shows now is what the client will read.
void clientAsked(Slider& s);

void announceChangeNow(Slider& s);

// Compares what the slider shows with what was told, and tells the difference.
inline void announceChange(Slider& s, bool rebound = false) {
  if (!s.accessible.asked) return;
  if (rebound) s.accessible.renamed = true;
  announceChangeNow(s);
}

// The window gained or lost the keyboard focus. The system itself fires
// EVENT_OBJECT_FOCUS for the window's client object when it gains it.
void announceFocus(Slider& s, bool focused);

// While one lives, changes wait to be told: a level set is written, then read
// back, and only what the device took is announced, once.
class AnnouncementsHeld {
 public:
  explicit AnnouncementsHeld(Slider& s) : s_(s) { ++s_.accessible.held; }
  ~AnnouncementsHeld() {
    if (--s_.accessible.held == 0) announceChange(s_);
  }
  AnnouncementsHeld(const AnnouncementsHeld&) = delete;
  AnnouncementsHeld& operator=(const AnnouncementsHeld&) = delete;

 private:
  Slider& s_;
};
