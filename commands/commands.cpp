#include <cstdint>
#include <cstring>

#include "commands/command_text.h"
#include "commands/decimal_number.h"
#include "commands/slider_commands.h"
#include "commands/volume_commands.h"
#include "plugin/slider_list.h"
#include "slider/keys.h"
#include "slider/slider.h"

namespace {

// Spelled as callers and users have always seen it.
constexpr char kInvalidArguments[] = "@KvSliderConfigure was called with invalid arguements.";

void showInvalidArguments() {
  MessageBoxA(nullptr, kInvalidArguments, nullptr, MB_OK | MB_TOPMOST | MB_ICONERROR);
}

bool bindFromTokens(Slider& s, const CommandTokens& t) {
  s.bindControl(decimalBits(t.token[3]), decimalBits(t.token[4]), decimalBits(t.token[5]));
  return true;
}

// The newer bindings take one number of plain digits: an endpoint's place in
// the list, or a process ID.
template <void (Slider::*Bind)(unsigned)>
bool bindByNumber(Slider& s, const CommandTokens& t) {
  std::uint32_t number = 0;
  if (!strictNumber(t, 3, UINT32_MAX, number)) return false;
  (s.*Bind)(number);
  return true;
}

bool unbind(Slider& s, const CommandTokens&) {
  s.unbindControl();
  return true;
}

// 100 is fully opaque, 0 hides the window with the plug-ins, anything between
// is translucent.
bool setOpacity(Slider& s, const CommandTokens& t) {
  int v = decimalToInt32(t.token[3]);
  if (v < 0)
    v = 0;
  else if (v > 100)
    v = 100;
  s.alpha = v;
  s.pluginsHidden = v == 0;
  s.transparent = v != 0 && v != 100;
  s.applyWindowState();
  return true;
}

bool toggleOnTop(Slider& s, const CommandTokens&) {
  s.alwaysOnTop = !s.alwaysOnTop;
  s.applyWindowState();
  return true;
}

bool togglePlugins(Slider& s, const CommandTokens&) {
  s.toggleWithPlugins = !s.toggleWithPlugins;
  s.applyWindowState();
  return true;
}

bool toggleSnap(Slider& s, const CommandTokens&) {
  s.snapWindow = !s.snapWindow;
  s.applyWindowState();
  return true;
}

// Only changes how the next press behaves: nothing to re-apply or repaint.
bool toggleDrag(Slider& s, const CommandTokens&) {
  s.draggable = !s.draggable;
  return true;
}

bool focus(Slider& s, const CommandTokens&) {
  takeFocus(s);
  return true;
}

// run returns false for arguments it refuses, having changed nothing.
struct Keyword {
  const char* word;
  int tokensNeeded;
  bool (*run)(Slider&, const CommandTokens&);
};

constexpr Keyword kKeywords[] = {
    {"mixer", 6, bindFromTokens},
    {"nomixer", 2, unbind},
    {"alpha", 4, setOpacity},
    {"ontoptoggle", 2, toggleOnTop},
    {"plugintoggle", 2, togglePlugins},
    {"snaptoggle", 2, toggleSnap},
    {"dragtoggle", 2, toggleDrag},
    {"volume", 4, setVolume},
    {"volumeup", 2, volumeUp},
    {"volumedown", 2, volumeDown},
    {"endpoint", 4, bindByNumber<&Slider::bindEndpoint>},
    {"mutetoggle", 2, muteToggle},
    {"newslider", 2, newSlider},
    {"microphone", 4, bindByNumber<&Slider::bindMicrophone>},
    {"app", 4, bindByNumber<&Slider::bindApp>},
    {"removeslider", 2, removeSlider},
    {"focus", 2, focus},
};

constexpr int kInstanceToken = 2;

// With one slider every command is its own, whatever it names; with several,
// only the one it names acts, and a command naming none (a hotkey of a slider
// removed since) is dropped by all of them without a word.
bool addressedTo(const Slider& s, const CommandTokens& t) {
  if (s.removing) return false;
  if (sliderCount() <= 1) return true;
  return t.count > kInstanceToken && std::strcmp(t.token[kInstanceToken], s.name) == 0;
}

}  // namespace

void Slider::handleCommand(const char* text) {
  if (text == nullptr) return;
  if (sameTextIgnoringCase(text, "@KvShowPlugins")) {
    pluginsHidden = false;
    applyWindowState();
  } else if (sameTextIgnoringCase(text, "@KvHidePlugins")) {
    pluginsHidden = true;
    applyWindowState();
  } else if (hasConfigurePrefix(text)) {
    handleConfigureCommand(text);
  }
}

void Slider::handleConfigureCommand(const char* text) {
  CommandTokens tokens;
  tokeniseCommand(text, tokens);
  if (!addressedTo(*this, tokens)) return;
  if (tokens.count >= 2) {
    for (const Keyword& k : kKeywords) {
      if (std::strcmp(tokens.token[1], k.word) != 0) continue;  // byte for byte
      if (tokens.count < k.tokensNeeded || !k.run(*this, tokens)) break;
      return;
    }
  }
  showInvalidArguments();
}
