#include "slider/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const SliderSize kDefault = {200, 24, 4, 8, 16, 8};
}

TEST(Geometry, FractionToKnobRoundsHalfUp) {
  EXPECT_EQ(knobTravel(kDefault), 184);
  EXPECT_EQ(knobFromFraction(0.5, 184), 92);
  EXPECT_EQ(knobFromFraction(0.5, 185), 93);
  EXPECT_EQ(knobFromFraction(0.0, 184), 0);
  EXPECT_EQ(knobFromFraction(1.0, 184), 184);
  EXPECT_EQ(knobFromFraction(32768.0 / 65535.0, 184), 92);
  EXPECT_EQ(knobFromFraction(0.7, 0), 0);
}

TEST(Geometry, PointerIsCentredAndClampedLowFirst) {
  EXPECT_EQ(knobUnderPointer(4 + 4, 8, 4, 184), 0);
  EXPECT_EQ(knobUnderPointer(-500, 8, 4, 184), 0);
  EXPECT_EQ(knobUnderPointer(5000, 8, 4, 184), 184);
  EXPECT_EQ(knobUnderPointer(20, 9, 4, 184), 12);  // odd knob: half of 9 is 4
  EXPECT_EQ(knobUnderPointer(50, 8, 4, -3), -3);   // a negative limit wins
}

TEST(Geometry, KnobToFractionKeepsCurrentValueWithoutTravel) {
  EXPECT_DOUBLE_EQ(fractionFromKnob(92, 184, 0.1), 0.5);
  EXPECT_DOUBLE_EQ(fractionFromKnob(0, 0, 0.3), 0.3);
  EXPECT_DOUBLE_EQ(fractionFromKnob(0, 0, 7.0), 1.0);
  EXPECT_DOUBLE_EQ(fractionFromKnob(0, 0, std::nan("")), 0.0);
}

TEST(Geometry, LayoutTruncatesEachHalfSeparately) {
  SliderLayout l = layoutFor(kDefault, 92);
  EXPECT_EQ(l.trackLeft, 4);
  EXPECT_EQ(l.trackTop, 8);
  EXPECT_EQ(l.trackRight, 196);
  EXPECT_EQ(l.trackBottom, 16);
  EXPECT_EQ(l.knobLeft, 96);
  EXPECT_EQ(l.knobTop, 4);
  EXPECT_EQ(l.knobRight, 104);
  EXPECT_EQ(l.knobBottom, 20);

  l = layoutFor({200, 25, 4, 8, 16, 7}, 0);
  EXPECT_EQ(l.trackTop, 9);
  EXPECT_EQ(l.trackBottom, 16);
  EXPECT_EQ(l.knobTop, 5);
  EXPECT_EQ(l.knobBottom, 21);

  l = layoutFor({200, 24, 4, 8, 4, 9}, 0);  // knob lower than the track
  EXPECT_EQ(l.knobTop, l.trackTop + 2);
}
