// Textures and gradients painted into real device contexts.
#include <windows.h>

#include <gtest/gtest.h>

#include "host/host_api.h"
#include "tolvane/texture_words.h"

namespace {

struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  HGDIOBJ old;
  Canvas(int w, int h) {
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
};

}  // namespace

TEST(HostPaint, ParseItemFillsTheRecordTheWayMakeGradientReadsIt) {
  char text[] = "Sunken Gradient Horizontal Interlaced";
  Texture t;
  EXPECT_TRUE(ParseItem(text, &t));
  EXPECT_EQ(t.bevel, ReliefSunken);
  EXPECT_EQ(t.gradient, FillHorizontal);
  EXPECT_EQ(t.interlaced, 1);
  EXPECT_FALSE(ParseItem(text, nullptr));
}

TEST(HostPaint, GradientBorderAndBevelLandOnThePixels) {
  Canvas c(60, 30);
  RECT r = {10, 5, 50, 25};  // 40 x 20
  MakeGradient(c.dc, r, FillHorizontal, RGB(255, 0, 0), RGB(0, 0, 255), false, ReliefRaised,
               BevelOuter, 1, RGB(0, 255, 0), 2);
  EXPECT_EQ(c.at(9, 10), RGB(255, 255, 255));  // outside untouched
  EXPECT_EQ(c.at(10, 5), RGB(0, 255, 0));      // border
  EXPECT_EQ(c.at(49, 24), RGB(0, 255, 0));
  EXPECT_EQ(c.at(50, 24), RGB(255, 255, 255));
  EXPECT_EQ(c.at(12, 12), RGB(255, 128, 128));  // left bevel band: lit red
  EXPECT_EQ(c.at(13, 12), RGB(248, 0, 7));      // inner start: red
  EXPECT_EQ(c.at(46, 12), RGB(7, 0, 248));      // inner end: blue
  EXPECT_EQ(c.at(47, 12), RGB(0, 0, 128));      // right bevel band: shaded blue
}

TEST(HostPaint, OnlyTheClipIsPaintedAndBadRectanglesAreSafe) {
  Canvas c(40, 20);
  IntersectClipRect(c.dc, 0, 0, 20, 20);
  RECT r = {0, 0, 40, 20};
  MakeGradient(c.dc, r, FillSolid, RGB(10, 20, 30), RGB(10, 20, 30), false, 0, 0, 0, 0, 0);
  EXPECT_EQ(c.at(19, 10), RGB(10, 20, 30));
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(c.at(20, 10), RGB(255, 255, 255));
  RECT inverted = {30, 10, 5, 2}, huge = {-2000000000, -2000000000, 2000000000, 2000000000};
  MakeGradient(c.dc, inverted, FillVertical, 0, 0, false, 0, 0, 0, 0, 0);
  MakeGradient(nullptr, r, FillVertical, 0, 0, false, 0, 0, 0, 0, 0);
  MakeGradient(c.dc, huge, FillElliptic, 0, 0xFFFFFF, true, 1, 1, -5, 0, -3);  // refused, no crash
  EXPECT_EQ(c.at(20, 10), RGB(255, 255, 255));
}

TEST(HostPaint, LargeRectanglesArePaintedInBands) {
  Canvas c(1200, 1000);  // more pixels than one band holds
  RECT r = {0, 0, 1200, 1000};
  MakeGradient(c.dc, r, FillVertical, RGB(0, 0, 0), RGB(0, 0, 255), false, 0, 0, 0, 0, 0);
  EXPECT_EQ(c.at(600, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.at(1199, 999), RGB(0, 0, 255));
  EXPECT_EQ(c.at(3, 900), RGB(0, 0, 230));
}
