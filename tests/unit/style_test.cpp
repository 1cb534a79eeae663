// The slider's look as read from the host's current style file.
#include "settings/style.h"

#include <cstring>
#include <string>
#include <vector>

#include "host/host_messages.h"
#include "tests/support/plugin_fixture.h"
#include "tests/support/window_pixels.h"

namespace {

const std::string kStyle = "C:\\Tolvane\\styles\\test.style";

class Style : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    hostdouble::setStylePath(kStyle);
    sliderStyle = SliderStyle{};
  }
  static void set(const char* key, const char* text) { hostdouble::setValue(kStyle, key, text); }
};

bool sameTexture(const Texture& a, const Texture& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(Style, ReadsEveryKeyInOrderWithTheDefaultsWhenTheStyleHasNone) {
  readStyle();

  const std::string f = kStyle;
  const std::vector<std::string> expected = {
      "stylePath(0)",
      "ReadColor(" + f + ", borderColor:, #000000)",
      "ReadColor(" + f + ", toolbar.color:, #000000)",
      "ReadColor(" + f + ", toolbar.colorTo:, #000000)",
      "ReadColor(" + f + ", toolbar.color:, #000000)",
      "ReadColor(" + f + ", toolbar.colorTo:, #000000)",
      "ReadColor(" + f + ", toolbar.windowLabel.color:, #000000)",
      "ReadColor(" + f + ", toolbar.windowLabel.colorTo:, #000000)",
      "ReadString(" + f + ", toolbar:, Flat Gradient Vertical)",
      "ParseItem(Flat Gradient Vertical)",
      "ReadString(" + f + ", toolbar:, Flat Gradient Vertical)",
      "ParseItem(Flat Gradient Vertical)",
      "ReadString(" + f + ", toolbar.windowLabel:, Flat Gradient Vertical)",
      "ParseItem(Flat Gradient Vertical)",
      "ReadInt(" + f + ", bevelWidth:, 1)",
      "ReadInt(" + f + ", borderWidth:, 1)",
  };
  EXPECT_EQ(hostdouble::calls(), expected);

  const Texture flat = hostdouble::textureFor("Flat Gradient Vertical");
  const SliderStyle& s = sliderStyle;
  EXPECT_TRUE(sameTexture(s.frameTexture, flat));
  EXPECT_TRUE(sameTexture(s.trackTexture, flat));
  EXPECT_TRUE(sameTexture(s.knobTexture, flat));
  for (COLORREF c : {s.frameColor, s.frameColorTo, s.trackColor, s.trackColorTo, s.knobColor,
                     s.knobColorTo, s.borderColor})
    EXPECT_EQ(c, RGB(0, 0, 0));
  EXPECT_EQ(s.bevelWidth, 1);
  EXPECT_EQ(s.borderWidth, 1);
}

TEST_F(Style, ToolbarKeysDressFrameAndKnobWindowLabelKeysOnlyTheTrack) {
  set("toolbar:", "Raised Gradient Diagonal");
  set("toolbar.color:", "#102030");
  set("toolbar.colorTo:", "#405060");
  set("toolbar.windowLabel:", "Sunken Solid Interlaced");
  set("toolbar.windowLabel.color:", "#a0b0c0");
  set("toolbar.windowLabel.colorTo:", "#d0e0f0");
  set("borderColor:", "#ff0000");
  set("bevelWidth:", "3");
  set("borderWidth:", "0");
  readStyle();

  const SliderStyle& s = sliderStyle;
  const Texture toolbar = hostdouble::textureFor("Raised Gradient Diagonal");
  const Texture label = hostdouble::textureFor("Sunken Solid Interlaced");
  EXPECT_TRUE(sameTexture(s.frameTexture, toolbar));
  EXPECT_TRUE(sameTexture(s.knobTexture, toolbar));
  EXPECT_TRUE(sameTexture(s.trackTexture, label));
  EXPECT_EQ(s.frameColor, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(s.knobColor, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(s.frameColorTo, RGB(0x40, 0x50, 0x60));
  EXPECT_EQ(s.knobColorTo, RGB(0x40, 0x50, 0x60));
  EXPECT_EQ(s.trackColor, RGB(0xa0, 0xb0, 0xc0));
  EXPECT_EQ(s.trackColorTo, RGB(0xd0, 0xe0, 0xf0));
  EXPECT_EQ(s.borderColor, RGB(0xff, 0, 0));
  EXPECT_EQ(s.bevelWidth, 3);
  EXPECT_EQ(s.borderWidth, 0);

  // A second read replaces the record whole: the track alone follows the label.
  set("toolbar.windowLabel.color:", "#010203");
  readStyle();
  EXPECT_EQ(sliderStyle.trackColor, RGB(1, 2, 3));
  EXPECT_EQ(sliderStyle.frameColor, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(sliderStyle.knobColor, RGB(0x10, 0x20, 0x30));
}

TEST_F(Style, OverlongPathAndTextureAreCutShortAt255Characters) {
  const std::string longPath = "C:\\" + std::string(297, 'p');
  const std::string cutPath = longPath.substr(0, 255);
  hostdouble::setStylePath(longPath);
  hostdouble::setValue(cutPath, "toolbar:", std::string(400, 'R'));
  readStyle();

  // Every read names the cut path, so a value stored under it is found.
  for (const auto& call : hostdouble::callsNamed("ReadColor"))
    EXPECT_EQ(call.find("ReadColor(" + cutPath + ", "), 0u) << call;
  const auto parsed = hostdouble::callsNamed("ParseItem");
  ASSERT_EQ(parsed.size(), 3u);
  EXPECT_EQ(parsed[0], "ParseItem(" + std::string(255, 'R') + ")");
  EXPECT_EQ(sliderStyle.frameTexture.bevel, 255);  // the double's word 0 is the text's length
  EXPECT_EQ(parsed[2], "ParseItem(Flat Gradient Vertical)");
}

TEST_F(Style, ReloadBringsTheNewLookToTheNextPaint) {
  set("toolbar.color:", "#3060c0");
  set("toolbar.windowLabel.color:", "#c06030");
  ASSERT_EQ(start(), 0);
  useDefaultGeometry();
  slider().applyWindowState();
  repaintNow(slider().window);
  EXPECT_EQ(pixelAt(slider().window, 1, 1), RGB(0x30, 0x60, 0xc0));
  EXPECT_EQ(pixelAt(slider().window, 100, 12), RGB(0xc0, 0x60, 0x30));

  set("toolbar.color:", "#20a040");
  SendMessageA(slider().window, HostMsgReload, 0, 0);
  repaintNow(slider().window);
  EXPECT_EQ(pixelAt(slider().window, 1, 1), RGB(0x20, 0xa0, 0x40));
  EXPECT_EQ(pixelAt(slider().window, 100, 12), RGB(0xc0, 0x60, 0x30));
}

}  // namespace
