// The substitute host's textures, gradient pixels, snapping and PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tolvane/gradient_render.h"
#include "tolvane/png_file.h"
#include "tolvane/snap.h"
#include "tolvane/texture_words.h"

// An independent reader of the written files: stb_image from libstb-dev.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

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

TEST(Png, AWrittenFileReadsBackWithItsExactPixels) {
  // Noise the row filters cannot flatten, over more than one deflate block.
  const int w = 200, h = 120;
  std::vector<uint32_t> px(w * h);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  px[0] = 0xFF0000;
  const std::string path = testing::TempDir() + "readback.png";
  std::string error;
  ASSERT_TRUE(writePngFile(path, px.data(), w, h, &error)) << error;
  int rw = 0, rh = 0, channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &rw, &rh, &channels, 3);
  std::remove(path.c_str());
  ASSERT_NE(rgb, nullptr) << stbi_failure_reason();
  EXPECT_EQ(rw, w);
  EXPECT_EQ(rh, h);
  EXPECT_EQ(channels, 3);
  EXPECT_EQ(rgb[0], 0xFF);  // red first: the bitmap's 0x00rrggbb order is undone
  EXPECT_EQ(rgb[1], 0);
  size_t wrong = 0;
  for (size_t i = 0; i < px.size(); ++i)
    wrong += (uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2]) != px[i];
  EXPECT_EQ(wrong, 0u);
  stbi_image_free(rgb);
  EXPECT_FALSE(writePngFile(testing::TempDir() + "no/such/folder.png", px.data(), w, h, &error));
  EXPECT_FALSE(writePngFile(path, px.data(), 0, h, &error));
}
