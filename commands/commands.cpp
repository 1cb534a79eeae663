#include <cstring>

#include "commands/command_text.h"
#include "commands/decimal_number.h"
#include "commands/volume_commands.h"
#include "mixer/bound_volume.h"
#include "slider/slider.h"

namespace {

// Spelled as callers and users have always seen it.
constexpr char kInvalidArguments[] = "@KvSliderConfigure was called with invalid arguements.";

void showInvalidArguments() {
  MessageBoxA(nullptr, kInvalidArguments, nullptr, MB_OK | MB_TOPMOST | MB_ICONERROR);
}

void bindFromTokens(Slider& s, const CommandTokens& t) {
  bindMixerControl(s, decimalBits(t.token[3]), decimalBits(t.token[4]), decimalBits(t.token[5]));
}

void bindEndpointFromTokens(Slider& s, const CommandTokens& t) {
  bindEndpoint(s, decimalBits(t.token[3]));
}

void unbind(Slider& s, const CommandTokens&) { unbindVolume(s); }

// 100 is fully opaque, 0 hides the window with the plug-ins, anything between
// is translucent.
void setOpacity(Slider& s, const CommandTokens& t) {
  int v = decimalToInt32(t.token[3]);
  if (v < 0)
    v = 0;
  else if (v > 100)
    v = 100;
  s.alpha = v;
  s.pluginsHidden = v == 0;
  s.transparent = v != 0 && v != 100;
  s.applyWindowState();
}

void toggleOnTop(Slider& s, const CommandTokens&) {
  s.alwaysOnTop = !s.alwaysOnTop;
  s.applyWindowState();
}

void togglePlugins(Slider& s, const CommandTokens&) {
  s.toggleWithPlugins = !s.toggleWithPlugins;
  s.applyWindowState();
}

void toggleSnap(Slider& s, const CommandTokens&) {
  s.snapWindow = !s.snapWindow;
  s.applyWindowState();
}

// Only changes how the next press behaves: nothing to re-apply or repaint.
void toggleDrag(Slider& s, const CommandTokens&) { s.draggable = !s.draggable; }

struct Keyword {
  const char* word;
  int tokensNeeded;
  void (*run)(Slider&, const CommandTokens&);
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
    {"endpoint", 4, bindEndpointFromTokens},
    {"mutetoggle", 2, muteToggle},
};

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
  if (tokens.count >= 2) {
    for (const Keyword& k : kKeywords) {
      if (std::strcmp(tokens.token[1], k.word) != 0) continue;  // byte for byte
      if (tokens.count < k.tokensNeeded) break;
      k.run(*this, tokens);
      return;
    }
  }
  showInvalidArguments();
}
