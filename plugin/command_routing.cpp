#include "plugin/command_routing.h"

#include <cstring>

#include "commands/command_text.h"
#include "commands/commands.h"
#include "plugin/sliders.h"

namespace {

constexpr int kKeywordToken = 1;
constexpr int kInstanceToken = 2;

bool addressedTo(const Slider& s, const CommandTokens& t) {
  if (sliderCount() <= 1) return true;
  return t.count > kInstanceToken && std::strcmp(t.token[kInstanceToken], s.name) == 0;
}

bool isKeyword(const CommandTokens& t, const char* word) {
  return t.count > kKeywordToken && std::strcmp(t.token[kKeywordToken], word) == 0;
}

}  // namespace

void routeCommand(Slider& s, const char* text) {
  if (text == nullptr) return;  // a command without text has nothing to say
  if (!hasConfigurePrefix(text)) {
    handleCommand(s, text);
    return;
  }
  CommandTokens tokens;
  tokeniseCommand(text, tokens);
  if (!addressedTo(s, tokens)) return;
  if (isKeyword(tokens, "newslider"))
    addSliderLike(s);
  else if (isKeyword(tokens, "removeslider"))
    removeSlider(s);
  else
    handleConfigureCommand(s, tokens);
}
