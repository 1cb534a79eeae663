// The substitute host's textures, gradient pixels, snapping and PNG encoding.
#include <gtest/gtest.h>

#include <cstring>

#include "tolvane/gradient_render.h"
#include "tolvane/png_writer.h"
#include "tolvane/snap.h"
#include "tolvane/texture_words.h"

TEST(TextureWords, AnyOrderAndCaseFillTheWords) {
  Texture t;
  EXPECT_TRUE(parseTextureWords("Flat Gradient Vertical", &t));
  EXPECT_EQ(t.bevel, ReliefFlat);
  EXPECT_EQ(t.bevelPosition, BevelNone);
  EXPECT_EQ(t.gradient, FillVertical);
  EXPECT_EQ(t.interlaced, 0);
  EXPECT_TRUE(parseTextureWords("interlaced  bevel2,DIAGONAL gradient sunken", &t));
  EXPECT_EQ(t.bevel, ReliefSunken);
  EXPECT_EQ(t.bevelPosition, BevelInner);
  EXPECT_EQ(t.gradient, FillDiagonal);
  EXPECT_EQ(t.interlaced, 1);
  EXPECT_TRUE(parseTextureWords("Raised", &t));
  EXPECT_EQ(t.bevelPosition, BevelOuter);  // relief alone bevels the outer edge
  EXPECT_EQ(t.gradient, FillSolid);
  EXPECT_TRUE(parseTextureWords("Vertical Raised", &t));
  EXPECT_EQ(t.gradient, FillSolid);  // a shape without "Gradient" stays solid
  EXPECT_TRUE(parseTextureWords("Gradient Solid Horizontal", &t));
  EXPECT_EQ(t.gradient, FillSolid);
  EXPECT_TRUE(parseTextureWords("gradient", &t));
  EXPECT_EQ(t.gradient, FillVertical);
}

TEST(TextureWords, UnknownTextGivesDefaultsAndWritesOnlySixteenBytes) {
  unsigned char guard[32];
  std::memset(guard, 0xCC, sizeof guard);
  Texture* t = reinterpret_cast<Texture*>(guard + 8);
  EXPECT_FALSE(parseTextureWords("gradients verticalx ", t));
  EXPECT_FALSE(parseTextureWords(nullptr, t));
  EXPECT_EQ(t->bevel, 0);
  EXPECT_EQ(t->gradient, FillSolid);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(guard[i], 0xCC);
  for (int i = 24; i < 32; ++i) EXPECT_EQ(guard[i], 0xCC);
}

namespace {
GradientLook plain(int32_t fill) { return {fill, 0x000000, 0xFFFFFF, false, 0, 0, 0, 0, 0}; }
}  // namespace

TEST(Gradient, ShapesRunFromFromToTo) {
  EXPECT_EQ(gradientPixel(plain(FillVertical), 10, 11, 3, 0), 0x000000u);
  EXPECT_EQ(gradientPixel(plain(FillVertical), 10, 11, 3, 10), 0xFFFFFFu);
  EXPECT_EQ(gradientPixel(plain(FillVertical), 10, 11, 3, 5), 0x808080u);
  EXPECT_EQ(gradientPixel(plain(FillHorizontal), 11, 4, 10, 0), 0xFFFFFFu);
  EXPECT_EQ(gradientPixel(plain(FillDiagonal), 5, 5, 4, 4), 0xFFFFFFu);
  EXPECT_EQ(gradientPixel(plain(FillCrossDiagonal), 5, 5, 4, 0), 0x000000u);
  EXPECT_EQ(gradientPixel(plain(FillPipeHorizontal), 11, 3, 5, 1), 0xFFFFFFu);
  EXPECT_EQ(gradientPixel(plain(FillPipeHorizontal), 11, 3, 0, 1), 0x000000u);
  EXPECT_EQ(gradientPixel(plain(FillElliptic), 11, 11, 5, 5), 0x000000u);
  EXPECT_EQ(gradientPixel(plain(FillRectangle), 11, 11, 0, 5), 0xFFFFFFu);
  EXPECT_EQ(gradientPixel(plain(FillSolid), 1, 1, 0, 0), 0x000000u);
  EXPECT_EQ(gradientPixel(plain(FillVertical), 1, 1, 0, 0), 0x000000u);  // no division by zero
}

TEST(Gradient, BorderBevelAndInterlace) {
  GradientLook look = {FillSolid,  0x808080, 0x808080, true, ReliefRaised,
                       BevelOuter, 1,        0x0000FF, 2};
  EXPECT_EQ(gradientPixel(look, 20, 20, 0, 0), 0x0000FFu);
  EXPECT_EQ(gradientPixel(look, 20, 20, 19, 10), 0x0000FFu);
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 2), 0xC0C0C0u);   // top band lit
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 17), 0x383838u);  // odd row, then shaded
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 4), 0x808080u);   // even row plain
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 5), 0x707070u);   // odd row darkened by 1/8
  look.relief = ReliefSunken;
  look.bevelPosition = BevelInner;
  look.interlaced = false;
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 2), 0x808080u);  // outer ring left alone
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 3), 0x404040u);  // inner top band shaded
  look.borderWidth = 0x7FFFFFFF;  // absurd widths stay arithmetic, not overflow
  look.bevelWidth = 0x7FFFFFFF;
  EXPECT_EQ(gradientPixel(look, 20, 20, 5, 5), 0x0000FFu);
}

TEST(Gradient, RenderFillsOnlyTheClipInBitmapOrder) {
  const GradientLook look = {FillHorizontal, 0x0000FF, 0xFF0000, false, 0, 0, 0, 0, 0};
  uint32_t px[2 * 3];
  renderGradient(look, 5, 4, 3, 1, 2, 3, px);
  EXPECT_EQ(gradientPixel(look, 5, 4, 3, 1), 0xBF0040u);  // 0x00bbggrr
  EXPECT_EQ(px[0], 0x4000BFu);                            // 0x00rrggbb
  EXPECT_EQ(px[1], 0x0000FFu);                            // right edge is pure blue: 0x00rrggbb
  EXPECT_EQ(px[5], 0x0000FFu);
}

TEST(Snap, EdgesCloserThanTheDistanceWinLowFirst) {
  const SnapArea area = {0, 0, 1024, 768};
  int x = 9, y = 701;
  snapToArea(&x, &y, 200, 58, area, 10);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 710);  // bottom edge 759 is 9 from 768
  x = 10, y = 10;     // exactly the distance away: stays, as a window placed there expects
  snapToArea(&x, &y, 200, 24, area, 10);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 10);
  x = 11, y = 300;
  snapToArea(&x, &y, 200, 24, area, 10);
  EXPECT_EQ(x, 11);
  x = 830, y = -9;
  snapToArea(&x, &y, 200, 24, area, 10);
  EXPECT_EQ(x, 824);
  EXPECT_EQ(y, 0);
  x = 5, y = 5;
  snapToArea(&x, &y, 1020, 24, area, 10);  // both edges in reach: the left wins
  EXPECT_EQ(x, 0);
  x = 2147483600, y = 0;
  snapToArea(&x, &y, 2000, 24, area, 10);  // no overflow far away
  EXPECT_EQ(x, 2147483600);
}

TEST(Png, ChecksumsMatchKnownValues) {
  const uint8_t iend[] = {'I', 'E', 'N', 'D'};
  EXPECT_EQ(pngCrc32(iend, 4), 0xAE426082u);
  const char* wiki = "Wikipedia";
  EXPECT_EQ(pngAdler32(reinterpret_cast<const uint8_t*>(wiki), 9), 0x11E60398u);
}

TEST(Png, StoredBlocksCarryTheRawRows) {
  // 200 x 120 pixels: 72120 raw bytes, more than one stored block.
  std::vector<uint32_t> px(200 * 120);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  const std::vector<uint8_t> png = encodePng(px.data(), 200, 120);
  ASSERT_GT(png.size(), 8u + 25 + 12);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
  // Walk IDAT: zlib header, stored blocks, Adler-32 of the raw rows.
  const uint8_t* idat = png.data() + 8 + 25;
  const size_t len = (size_t(idat[0]) << 24) | (idat[1] << 16) | (idat[2] << 8) | idat[3];
  ASSERT_EQ(std::memcmp(idat + 4, "IDAT", 4), 0);
  EXPECT_EQ(pngCrc32(idat + 4, 4 + len), (uint32_t(idat[8 + len]) << 24) | (idat[9 + len] << 16) |
                                             (idat[10 + len] << 8) | idat[11 + len]);
  const uint8_t* z = idat + 8;
  EXPECT_EQ(z[0], 0x78);
  std::vector<uint8_t> raw;
  size_t at = 2;
  bool last = false;
  while (!last) {
    last = z[at] & 1;
    const size_t n = z[at + 1] | (z[at + 2] << 8);
    EXPECT_EQ(n ^ 0xFFFF, size_t(z[at + 3] | (z[at + 4] << 8)));
    raw.insert(raw.end(), z + at + 5, z + at + 5 + n);
    at += 5 + n;
  }
  ASSERT_EQ(raw.size(), 120u * (1 + 200 * 3));
  EXPECT_EQ(raw[0], 0);  // filter byte
  EXPECT_EQ(raw[1], px[0] >> 16);
  EXPECT_EQ(raw[601 * 7 + 1 + 3 * 5 + 2], px[7 * 200 + 5] & 0xFF);
  const uint32_t adler = (uint32_t(z[at]) << 24) | (z[at + 1] << 16) | (z[at + 2] << 8) | z[at + 3];
  EXPECT_EQ(adler, pngAdler32(raw.data(), raw.size()));
  EXPECT_EQ(std::memcmp(png.data() + png.size() - 8, "IEND", 4), 0);
}
