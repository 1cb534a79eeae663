#include "tolvane/texture_words.h"

#include <cctype>
#include <cstring>

namespace {

struct Word {
  const char* name;
  int kind;  // 0 relief, 1 fill switch, 2 gradient shape, 3 bevel position, 4 interlaced
  int32_t value;
};

const Word kWords[] = {
    {"flat", 0, ReliefFlat},
    {"raised", 0, ReliefRaised},
    {"sunken", 0, ReliefSunken},
    {"solid", 1, 0},
    {"gradient", 1, 1},
    {"horizontal", 2, FillHorizontal},
    {"vertical", 2, FillVertical},
    {"diagonal", 2, FillDiagonal},
    {"crossdiagonal", 2, FillCrossDiagonal},
    {"pipehorizontal", 2, FillPipeHorizontal},
    {"pipevertical", 2, FillPipeVertical},
    {"elliptic", 2, FillElliptic},
    {"rectangle", 2, FillRectangle},
    {"pyramid", 2, FillPyramid},
    {"bevel1", 3, BevelOuter},
    {"bevel2", 3, BevelInner},
    {"interlaced", 4, 1},
};

const Word* lookUp(const char* word, size_t length) {
  for (const Word& w : kWords) {
    if (std::strlen(w.name) != length) continue;
    size_t i = 0;
    while (i < length && std::tolower(static_cast<unsigned char>(word[i])) == w.name[i]) ++i;
    if (i == length) return &w;
  }
  return nullptr;
}

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

}  // namespace

bool parseTextureWords(const char* text, Texture* texture) {
  Texture t;
  std::memset(&t, 0, sizeof t);
  bool known = false, gradient = false, solid = false;
  int32_t shape = FillVertical;
  int32_t position = BevelOuter;
  for (const char* p = text ? text : ""; *p;) {
    while (*p && isSeparator(*p)) ++p;
    const char* start = p;
    while (*p && !isSeparator(*p)) ++p;
    if (p == start) break;
    const Word* w = lookUp(start, static_cast<size_t>(p - start));
    if (!w) continue;
    known = true;
    switch (w->kind) {
      case 0: t.bevel = w->value; break;
      case 1: (w->value ? gradient : solid) = true; break;
      case 2: shape = w->value; break;
      case 3: position = w->value; break;
      case 4: t.interlaced = 1; break;
    }
  }
  // "Solid" wins over "Gradient" when a text names both: the plainer reading.
  t.gradient = gradient && !solid ? shape : FillSolid;
  t.bevelPosition = t.bevel == ReliefFlat ? BevelNone : position;
  t.flags = known ? TextureFlagKnownWords : 0;
  if (texture) std::memcpy(texture, &t, sizeof t);
  return known;
}
