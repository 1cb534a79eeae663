// The slider record's load-time values and its value/knob conversions.
#include <cmath>

#include "tests/support/plugin_fixture.h"

namespace {

class SliderRecord : public PluginTest {};

TEST_F(SliderRecord, LoadTimeValues) {
  Slider s{};
  s.initialise(12);
  EXPECT_STREQ(s.name, "slider12");
  EXPECT_EQ(s.window, nullptr);
  EXPECT_EQ(s.maxValue, 1.0);
  EXPECT_EQ(s.minValue, 0.0);
  EXPECT_EQ(s.value, 0.5);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
  EXPECT_EQ(s.width, 200);
  EXPECT_EQ(s.height, 24);
  EXPECT_TRUE(s.alwaysOnTop);
  EXPECT_TRUE(s.snapWindow);
  EXPECT_FALSE(s.pluginsHidden);
  EXPECT_FALSE(s.toggleWithPlugins);
  EXPECT_FALSE(s.transparent);
  EXPECT_FALSE(s.draggable);
  EXPECT_EQ(s.alpha, 100);
  EXPECT_EQ(s.margin, 0);
  EXPECT_EQ(s.knobWidth, 0);
  EXPECT_EQ(s.binding.kind, BindingKind::None);
  EXPECT_EQ(s.knobPos, 100);
  EXPECT_EQ(s.trackRectRight, 0);
  EXPECT_FALSE(s.dragging);
}

TEST_F(SliderRecord, ValueIsClampedAndConvertedToKnob) {
  useDefaultGeometry();
  const struct {
    double in, value;
    int knob;
  } cases[] = {{0.5, 0.5, 92},         {-0.2, 0.0, 0},  {1.7, 1.0, 184},
               {std::nan(""), 0.0, 0}, {1.0, 1.0, 184}, {0.0, 0.0, 0}};
  for (const auto& c : cases) {
    slider().value = c.in;
    slider().updateKnobFromValue();
    EXPECT_EQ(slider().value, c.value) << c.in;
    EXPECT_EQ(slider().knobPos, c.knob) << c.in;
  }
}

TEST_F(SliderRecord, PointerMovesKnobAndValueWithinTheTrack) {
  useDefaultGeometry();
  slider().computeLayout();
  slider().setKnobFromPointer(8);
  EXPECT_EQ(slider().knobPos, 0);
  slider().setKnobFromPointer(-40);
  EXPECT_EQ(slider().knobPos, 0);
  slider().updateValueFromKnob();
  EXPECT_EQ(slider().value, 0.0);
  slider().setKnobFromPointer(100000);
  EXPECT_EQ(slider().knobPos, 184);
  slider().updateValueFromKnob();
  EXPECT_EQ(slider().value, 1.0);
  slider().setKnobFromPointer(100);
  slider().updateValueFromKnob();
  EXPECT_EQ(slider().knobPos, 92);
  EXPECT_DOUBLE_EQ(slider().value, 0.5);
}

TEST_F(SliderRecord, LayoutFollowsKnob) {
  useDefaultGeometry();
  slider().knobPos = 92;
  slider().computeLayout();
  EXPECT_EQ(slider().trackRectLeft, 4);
  EXPECT_EQ(slider().trackRectTop, 8);
  EXPECT_EQ(slider().trackRectRight, 196);
  EXPECT_EQ(slider().trackRectBottom, 16);
  EXPECT_EQ(slider().knobRectLeft, 96);
  EXPECT_EQ(slider().knobRectTop, 4);
  EXPECT_EQ(slider().knobRectRight, 104);
  EXPECT_EQ(slider().knobRectBottom, 20);
}

TEST_F(SliderRecord, ZeroTravelKeepsTheValueInRange) {
  slider().width = 16;
  slider().margin = 4;
  slider().knobWidth = 8;
  slider().value = 0.3;
  slider().updateKnobFromValue();
  EXPECT_EQ(slider().knobPos, 0);
  slider().computeLayout();
  slider().setKnobFromPointer(12);
  EXPECT_EQ(slider().knobPos, 0);
  slider().updateValueFromKnob();
  EXPECT_DOUBLE_EQ(slider().value, 0.3);
}

}  // namespace
