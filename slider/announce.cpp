#include "slider/announce.h"

#include "slider/automation.h"
#include "slider/spoken_text.h"

namespace {

AnnouncedFacts factsOf(const Slider& s) {
  return {wholePercent(s.level()), s.levelMuted(), s.levelBound()};
}

void tell(const Slider& s, DWORD event) {
  NotifyWinEvent(event, s.window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace

void clientAsked(Slider& s) {
  AccessibleState& a = s.accessible;
  if (a.asked) return;
  a.asked = true;
  a.renamed = false;
  a.announced = factsOf(s);
}

void announceChangeNow(Slider& s) {
  AccessibleState& a = s.accessible;
  if (a.held > 0 || s.window == nullptr) return;
  const AnnouncedFacts now = factsOf(s);
  const AnnouncedFacts was = a.announced;
  const bool valueChanged =
      now.percent != was.percent || now.muted != was.muted || now.bound != was.bound;
  if (!valueChanged && !a.renamed) return;
  a.announced = now;
  if (a.renamed) tell(s, EVENT_OBJECT_NAMECHANGE);
  a.renamed = false;
  if (now.bound != was.bound) tell(s, EVENT_OBJECT_STATECHANGE);
  if (!valueChanged) return;
  tell(s, EVENT_OBJECT_VALUECHANGE);
  raiseLevelChanged(s, was.percent, now.percent);
}

void announceFocus(Slider& s, bool focused) {
  s.accessible.focused = focused;
  if (s.accessible.asked) tell(s, EVENT_OBJECT_STATECHANGE);
}
