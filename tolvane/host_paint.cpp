// The host's texture parsing and gradient painting.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "host/host_api.h"
#include "tolvane/gradient_render.h"
#include "tolvane/texture_words.h"

namespace {
// Above this many pixels a gradient is painted in bands, so a huge rectangle
// never needs one huge buffer.
const int kBandPixels = 1 << 20;
}  // namespace

extern "C" {

bool ParseItem(char* text, Texture* texture) {
  if (!texture) return false;
  return parseTextureWords(text, texture);
}

void MakeGradient(HDC dc, RECT rect, int gradient, COLORREF from, COLORREF to, uint8_t interlaced,
                  int bevel, int bevelPosition, int bevelWidth, COLORREF borderColor,
                  int borderWidth) {
  if (!dc || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const long long width = static_cast<long long>(rect.right) - rect.left;
  const long long height = static_cast<long long>(rect.bottom) - rect.top;
  if (width > INT_MAX / 2 || height > INT_MAX / 2) return;
  // Only the part the DC can show is computed.
  RECT clip;
  if (GetClipBox(dc, &clip) == ERROR) return;
  RECT part;
  if (!IntersectRect(&part, &rect, &clip)) return;
  const GradientLook look = {gradient,      from,       to,          interlaced != 0, bevel,
                             bevelPosition, bevelWidth, borderColor, borderWidth};
  const int partWidth = part.right - part.left;
  const int band = std::max(1, kBandPixels / partWidth);
  std::vector<uint32_t> pixels(static_cast<size_t>(partWidth) *
                               std::min(band, int(part.bottom - part.top)));
  for (int top = part.top; top < part.bottom; top += band) {
    const int rows = std::min(band, int(part.bottom - top));
    renderGradient(look, int(width), int(height), part.left - rect.left, top - rect.top, partWidth,
                   rows, pixels.data());
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = partWidth;
    info.bmiHeader.biHeight = -rows;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, part.left, top, DWORD(partWidth), DWORD(rows), 0, 0, 0, UINT(rows),
                      pixels.data(), &info, DIB_RGB_COLORS);
  }
}

}  // extern "C"
