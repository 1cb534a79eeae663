#include "tolvane/gradient_render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tolvane/texture_words.h"

namespace {

// Widths beyond any screen; keeps the arithmetic below far from overflow.
const int32_t kMaxWidth = 1 << 20;

uint32_t channel(uint32_t color, int shift) { return (color >> shift) & 0xFF; }

uint32_t mix(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    double v = channel(a, shift) + (static_cast<double>(channel(b, shift)) - channel(a, shift)) * t;
    out |= static_cast<uint32_t>(std::lround(v)) << shift;
  }
  return out;
}

uint32_t scale(uint32_t color, int numerator, int denominator) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    out |= (channel(color, shift) * numerator / denominator) << shift;
  return out;
}

double along(int32_t position, int32_t extent) {
  return extent > 1 ? static_cast<double>(position) / (extent - 1) : 0.0;
}

double fillFraction(int32_t fill, int32_t w, int32_t h, int32_t x, int32_t y) {
  const double u = along(x, w), v = along(y, h);
  const double dx = std::fabs(2 * u - 1), dy = std::fabs(2 * v - 1);
  switch (fill) {
    case FillHorizontal: return u;
    case FillVertical: return v;
    case FillDiagonal: return (u + v) / 2;
    case FillCrossDiagonal: return (1 - u + v) / 2;
    case FillPipeHorizontal: return 1 - dx;
    case FillPipeVertical: return 1 - dy;
    case FillElliptic: return std::min(1.0, std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0));
    case FillRectangle: return std::max(dx, dy);
    case FillPyramid: return (dx + dy) / 2;
    default: return 0.0;
  }
}

// Light on the top and left bands, dark on the bottom and right ones for a
// raised relief; the other way round for a sunken one.
uint32_t bevelled(const GradientLook& look, uint32_t color, int32_t w, int32_t h, int32_t x,
                  int32_t y) {
  if (look.relief == ReliefFlat || look.bevelWidth <= 0) return color;
  const int32_t bevel = std::min(look.bevelWidth, kMaxWidth);
  const int32_t offset = look.bevelPosition == BevelInner ? bevel : 0;
  const int32_t top = y, left = x, bottom = h - 1 - y, right = w - 1 - x;
  if (std::min(std::min(top, left), std::min(bottom, right)) < offset) return color;
  auto inBand = [&](int32_t d) { return d >= offset && d < offset + bevel; };
  const bool lowerBand = inBand(bottom) || inBand(right);
  const bool upperBand = inBand(top) || inBand(left);
  if (!lowerBand && !upperBand) return color;
  const bool light = (look.relief == ReliefRaised) == !lowerBand;
  return light ? mix(color, 0xFFFFFF, 0.5) : mix(color, 0x000000, 0.5);
}

}  // namespace

uint32_t gradientPixel(const GradientLook& look, int32_t width, int32_t height, int32_t x,
                       int32_t y) {
  const int32_t b = std::min(std::max(0, look.borderWidth), kMaxWidth);
  if (x < b || y < b || x >= width - b || y >= height - b) return look.borderColor & 0xFFFFFF;
  const int32_t w = width - 2 * b, h = height - 2 * b;
  const int32_t ix = x - b, iy = y - b;
  uint32_t color = mix(look.from, look.to, fillFraction(look.fill, w, h, ix, iy));
  if (look.interlaced && (iy & 1)) color = scale(color, 7, 8);
  return bevelled(look, color, w, h, ix, iy) & 0xFFFFFF;
}

void renderGradient(const GradientLook& look, int32_t width, int32_t height, int32_t clipX,
                    int32_t clipY, int32_t clipWidth, int32_t clipHeight, uint32_t* pixels) {
  for (int32_t row = 0; row < clipHeight; ++row) {
    for (int32_t col = 0; col < clipWidth; ++col) {
      uint32_t c = gradientPixel(look, width, height, clipX + col, clipY + row);
      // 0x00bbggrr to the bitmap's 0x00rrggbb
      pixels[static_cast<size_t>(row) * clipWidth + col] =
          ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
}
