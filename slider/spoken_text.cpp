#include "slider/spoken_text.h"

#include <cstdio>

int wholePercent(double level) { return static_cast<int>(level * 100.0 + 0.5); }

void spokenName(const Slider& s, char (&text)[kSpokenTextSize]) {
  std::snprintf(text, sizeof text, s.levelBound() ? "%s" : "%s (not bound)", s.levelName());
}

void spokenValue(const Slider& s, char (&text)[kSpokenTextSize]) {
  if (!s.levelBound())
    text[0] = '\0';
  else if (s.levelMuted())
    std::snprintf(text, sizeof text, "muted");
  else
    std::snprintf(text, sizeof text, "%d%%", wholePercent(s.level()));
}

// Names are in the ANSI code page, as the menu and the tooltip show them; no
// byte of it makes more than one UTF-16 unit, so the copy always fits.
BSTR newClientText(const char* text) {
  wchar_t wide[kSpokenTextSize];
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kSpokenTextSize) == 0) wide[0] = L'\0';
  return SysAllocString(wide);
}
