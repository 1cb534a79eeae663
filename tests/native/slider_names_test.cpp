#include "settings/slider_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> namesIn(const char* text) {
  int numbers[kMostSliders];
  const int count = parseSliderNames(text, numbers);
  return std::vector<int>(numbers, numbers + count);
}

TEST(SliderNames, OnlyWellFormedNamesCountOnceEachAndNoneMeansSlider1) {
  EXPECT_EQ(namesIn("slider1 slider3 slider2"), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(namesIn("  slider16\tslider9  "), (std::vector<int>{16, 9}));
  EXPECT_EQ(namesIn("slider0 slider17 slider02 Slider4 slider4x slider slider5"),
            (std::vector<int>{5}));
  EXPECT_EQ(namesIn("slider2 slider2 slider7 slider2"), (std::vector<int>{2, 7}));
  EXPECT_EQ(namesIn(""), std::vector<int>{1});
  EXPECT_EQ(namesIn(nullptr), std::vector<int>{1});
  EXPECT_EQ(namesIn("garbage"), std::vector<int>{1});
  std::string many;
  for (int n = 16; n >= 1; --n) many += "slider" + std::to_string(n) + " ";
  EXPECT_EQ(namesIn(many.c_str()).size(), 16u);
}

TEST(SliderNames, AreWrittenWithSingleSpacesOrNotAtAll) {
  const int numbers[] = {1, 12, 3};
  char out[32];
  ASSERT_TRUE(formatSliderNames(numbers, 3, out, sizeof out));
  EXPECT_STREQ(out, "slider1 slider12 slider3");
  EXPECT_FALSE(formatSliderNames(numbers, 3, out, 20));  // never cut short
  EXPECT_STREQ(out, "");
}

}  // namespace
