#include "commands/volume_commands.h"

#include "commands/decimal_number.h"

namespace {
constexpr int kPercentToken = 3;

double stepPercent(const Slider& s, const CommandTokens& t) {
  return t.count > kPercentToken ? decimalToInt32(t.token[kPercentToken]) : s.wheelStep;
}
}  // namespace

// setLevel clamps into 0..100 per cent.
void setVolume(Slider& s, const CommandTokens& t) {
  s.setLevel(decimalToInt32(t.token[kPercentToken]) / 100.0);
}

void volumeUp(Slider& s, const CommandTokens& t) { s.stepLevel(stepPercent(s, t)); }

void volumeDown(Slider& s, const CommandTokens& t) { s.stepLevel(-stepPercent(s, t)); }

void muteToggle(Slider& s, const CommandTokens&) { s.toggleMute(); }
