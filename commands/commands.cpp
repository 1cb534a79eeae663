#include "commands/commands.h"

#include <cstdint>
#include <cstring>

#include "commands/volume_commands.h"
#include "mixer/app_kind.h"
#include "mixer/endpoint_kind.h"
#include "mixer/winmm_kind.h"
#include "settings/decimal_number.h"
#include "slider/keys.h"

namespace {

// Spelled as callers and users have always seen it.
constexpr char kInvalidArguments[] = "@KvSliderConfigure was called with invalid arguements.";

bool bindFromTokens(Slider& s, const CommandTokens& t) {
  s.take(bindMixerControl(s.binding, decimalBits(t.token[3]), decimalBits(t.token[4]),
                          decimalBits(t.token[5])));
  return true;
}

// The newer bindings take one number of plain digits: an endpoint's place in
// the list, or a process ID.
bool numberOf(const CommandTokens& t, std::uint32_t& number) {
  return strictNumber(t, 3, UINT32_MAX, number);
}

bool bindSpeakers(Slider& s, const CommandTokens& t) {
  std::uint32_t number = 0;
  if (!numberOf(t, number)) return false;
  s.take(bindEndpoint(s.binding, eRender, number));
  return true;
}

bool bindMicrophone(Slider& s, const CommandTokens& t) {
  std::uint32_t number = 0;
  if (!numberOf(t, number)) return false;
  s.take(bindEndpoint(s.binding, eCapture, number));
  return true;
}

bool followCallsSpeakers(Slider& s, const CommandTokens&) {
  s.take(bindEndpoint(s.binding, eRender, 0, eCommunications));
  return true;
}

bool followCallsMicrophone(Slider& s, const CommandTokens&) {
  s.take(bindEndpoint(s.binding, eCapture, 0, eCommunications));
  return true;
}

// 1..100 per cent; 0 would silence the volume for good, and is refused.
bool setCeiling(Slider& s, const CommandTokens& t) {
  std::uint32_t percent = 0;
  if (!strictNumber(t, 3, 100, percent) || percent == 0) return false;
  s.setCeiling(static_cast<int>(percent));
  return true;
}

bool bindProgram(Slider& s, const CommandTokens& t) {
  std::uint32_t process = 0;
  if (!numberOf(t, process)) return false;
  s.take(bindApp(s.binding, process));
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

// clang-format off
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
    {"endpoint", 4, bindSpeakers},
    {"mutetoggle", 2, muteToggle},
    {"microphone", 4, bindMicrophone},
    {"app", 4, bindProgram},
    {"commsendpoint", 2, followCallsSpeakers},
    {"commsmicrophone", 2, followCallsMicrophone},
    {"ceiling", 4, setCeiling},
    {"focus", 2, focus},
};
// clang-format on

}  // namespace

void showInvalidArguments() {
  MessageBoxA(nullptr, kInvalidArguments, nullptr, MB_OK | MB_TOPMOST | MB_ICONERROR);
}

void handleCommand(Slider& s, const char* text) {
  if (text == nullptr) return;
  if (sameTextIgnoringCase(text, "@KvShowPlugins")) {
    s.pluginsHidden = false;
    s.applyWindowState();
  } else if (sameTextIgnoringCase(text, "@KvHidePlugins")) {
    s.pluginsHidden = true;
    s.applyWindowState();
  } else if (hasConfigurePrefix(text)) {
    CommandTokens tokens;
    tokeniseCommand(text, tokens);
    handleConfigureCommand(s, tokens);
  }
}

void handleConfigureCommand(Slider& s, const CommandTokens& t) {
  if (t.count >= 2) {
    for (const Keyword& k : kKeywords) {
      if (std::strcmp(t.token[1], k.word) != 0) continue;  // byte for byte
      if (t.count < k.tokensNeeded || !k.run(s, t)) break;
      return;
    }
  }
  showInvalidArguments();
}
