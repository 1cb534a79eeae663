#include "commands/volume_commands.h"

namespace {
constexpr int kPercentToken = 3;
constexpr std::uint32_t kMostPercent = 100;  // a step of more changes nothing more

// The step of a volumeup or volumedown: its own when it has one, else the wheel's.
bool stepPercent(const Slider& s, const CommandTokens& t, double& percent) {
  if (t.count <= kPercentToken) {
    percent = s.wheelStep;
    return true;
  }
  std::uint32_t given = 0;
  if (!strictNumber(t, kPercentToken, kMostPercent, given)) return false;
  percent = given;
  return true;
}
}  // namespace

bool setVolume(Slider& s, const CommandTokens& t) {
  std::uint32_t percent = 0;
  if (!strictNumber(t, kPercentToken, kMostPercent, percent)) return false;
  s.setLevel(percent / 100.0);
  return true;
}

bool volumeUp(Slider& s, const CommandTokens& t) {
  double percent = 0;
  if (!stepPercent(s, t, percent)) return false;
  s.stepLevel(percent);
  return true;
}

bool volumeDown(Slider& s, const CommandTokens& t) {
  double percent = 0;
  if (!stepPercent(s, t, percent)) return false;
  s.stepLevel(-percent);
  return true;
}

bool muteToggle(Slider& s, const CommandTokens&) {
  s.toggleMute();
  return true;
}
