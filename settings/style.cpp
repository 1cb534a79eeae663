#include "settings/style.h"

#include "host/host_api.h"
#include "host/module_values.h"

namespace {
constexpr char kBlack[] = "#000000";
constexpr char kDefaultTexture[] = "Flat Gradient Vertical";

// Copies at most 255 characters and always terminates: an overlong style path
// or texture text is cut short rather than allowed to run past the buffer.
void copyText(char (&buffer)[kTextSize], const char* text) {
  lstrcpynA(buffer, text != nullptr ? text : "", kTextSize);
}

// ParseItem may write into the text it parses, so it gets a private copy and
// never the host's returned string.
void readTexture(const char* file, const char* key, Texture& texture) {
  char text[kTextSize];
  copyText(text, ReadString(file, key, kDefaultTexture));
  ParseItem(text, &texture);
}
}  // namespace

void readStyle() {
  char file[kTextSize];
  copyText(file, stylePath(nullptr));

  // Built aside and stored whole, so painting only ever sees one complete style.
  SliderStyle style = {};
  style.borderColor = ReadColor(file, "borderColor:", kBlack);
  style.frameColor = ReadColor(file, "toolbar.color:", kBlack);
  style.frameColorTo = ReadColor(file, "toolbar.colorTo:", kBlack);
  style.knobColor = ReadColor(file, "toolbar.color:", kBlack);
  style.knobColorTo = ReadColor(file, "toolbar.colorTo:", kBlack);
  style.trackColor = ReadColor(file, "toolbar.windowLabel.color:", kBlack);
  style.trackColorTo = ReadColor(file, "toolbar.windowLabel.colorTo:", kBlack);

  readTexture(file, "toolbar:", style.frameTexture);
  readTexture(file, "toolbar:", style.knobTexture);
  readTexture(file, "toolbar.windowLabel:", style.trackTexture);

  style.bevelWidth = ReadInt(file, "bevelWidth:", 1);
  style.borderWidth = ReadInt(file, "borderWidth:", 1);
  sliderStyle = style;
}
