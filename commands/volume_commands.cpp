#include "commands/volume_commands.h"

#include "commands/decimal_number.h"

namespace {
constexpr int kPercentToken = 3;

double stepPercent(const Slider& s, const CommandTokens& t) {
  return t.count > kPercentToken ? decimalToInt32(t.token[kPercentToken]) : s.wheelStep;
}
}  // namespace

void setVolume(Slider& s, const CommandTokens& t) {
  int percent = decimalToInt32(t.token[kPercentToken]);
  if (percent < 0)
    percent = 0;
  else if (percent > 100)
    percent = 100;
  s.setLevel(percent / 100.0);
}

void volumeUp(Slider& s, const CommandTokens& t) { s.stepLevel(stepPercent(s, t)); }

void volumeDown(Slider& s, const CommandTokens& t) { s.stepLevel(-stepPercent(s, t)); }

void muteToggle(Slider& s, const CommandTokens&) { s.toggleMute(); }
