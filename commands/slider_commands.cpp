#include "commands/slider_commands.h"

#include "plugin/module_state.h"
#include "plugin/slider_list.h"
#include "settings/settings_file.h"
#include "slider/placement.h"

namespace {

constexpr int kGap = 4;  // pixels between a slider and the one made from it

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

bool newSlider(Slider& s, const CommandTokens&) {
  if (sliderCount() >= kMaxSliders) return true;  // no item offers it then
  Slider* made = addSlider(lowestFreeSliderNumber());
  if (made == nullptr) return true;
  copyShape(s, *made);
  placeNextTo(s, *made);
  if (!startSlider(*made)) {
    dropSlider(made);
    return true;
  }
  // Written at once: a crash of the shell must not lose it, nor give it old keys.
  made->writeSettings(settingsPath);
  writeSliderList(settingsPath);
  return true;
}

bool removeSlider(Slider& s, const CommandTokens&) {
  if (sliderCount() <= 1) return true;
  retireSlider(s);
  writeSliderList(settingsPath);
  return true;
}
