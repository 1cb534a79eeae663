// Painting: what reaches the screen, and what the host is asked to draw.
#include <string>
#include <vector>

#include "settings/style.h"
#include "tests/support/plugin_fixture.h"
#include "tests/support/window_pixels.h"

namespace {

const std::string kStyle = "C:\\Tolvane\\styles\\paint.style";
const COLORREF kToolbar = RGB(0x20, 0x40, 0x60);  // frame and knob
const COLORREF kLabel = RGB(0xc0, 0x80, 0x40);    // track

// Default geometry 200x24, margin 4, knob 8x16, track 8: the track spans
// x 4..196, y 8..16; a knob at knobPos p spans x 4+p..12+p, y 4..20.
class Paint : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    hostdouble::setStylePath(kStyle);
    set("toolbar:", "Raised Interlaced");  // double: word 0 = 17, word 2 = 'R', byte 13 = 0xA5
    set("toolbar.color:", "#204060");
    set("toolbar.colorTo:", "#0a0b0c");
    set("toolbar.windowLabel:", "Sunken");  // double: word 0 = 6, word 2 = 'S', byte 13 = 0
    set("toolbar.windowLabel.color:", "#c08040");
    set("toolbar.windowLabel.colorTo:", "#d0d1d2");
    set("borderColor:", "#ff00ff");
    set("bevelWidth:", "2");
    set("borderWidth:", "3");
    ASSERT_EQ(start(), 0);
    window = slider().window;
    useDefaultGeometry();
    slider().x = 40;
    slider().y = 60;
    slider().applyWindowState();
    repaintNow(window);
  }
  void TearDown() override {
    slider().binding.kind = BindingKind::None;  // bound by hand only: there is no device to close
    PluginTest::TearDown();
  }
  static void set(const char* key, const char* text) { hostdouble::setValue(kStyle, key, text); }

  void bindAt(int knobPos) {
    slider().binding.kind = BindingKind::Winmm;
    slider().knobPos = knobPos;
  }

  HWND window = nullptr;
};

TEST_F(Paint, AsksTheHostForFrameTrackAndKnobWithTheirTexturesInPaintersOrder) {
  const std::string frame =
      "MakeGradient({0, 0, 200, 24}, 82, #204060, #0a0b0c, 165, 17, 1, 2, #ff00ff, 3)";
  const std::string track =
      "MakeGradient({4, 8, 196, 16}, 83, #c08040, #d0d1d2, 0, 6, 1, 2, #ff00ff, 3)";
  EXPECT_EQ(gradientsOfARepaint(window), (std::vector<std::string>{frame, track}));

  bindAt(50);
  const std::string knob =
      "MakeGradient({54, 4, 62, 20}, 82, #204060, #0a0b0c, 165, 17, 1, 2, #ff00ff, 3)";
  EXPECT_EQ(gradientsOfARepaint(window), (std::vector<std::string>{frame, track, knob}));
  EXPECT_EQ(slider().knobRectLeft, 54);  // the layout is recomputed on every paint

  // Muted, the groove is emptied (the track's texture in the frame's colours)
  // and the knob is hollow: the track's own colours within the knob's frame
  // (border and bevel), thinned across so that some hollow is left.
  slider().muted = true;
  const std::string emptied =
      "MakeGradient({4, 8, 196, 16}, 83, #204060, #0a0b0c, 0, 6, 1, 2, #ff00ff, 3)";
  const std::string hollow =
      "MakeGradient({57, 9, 59, 15}, 83, #c08040, #d0d1d2, 0, 6, 1, 2, #ff00ff, 0)";
  EXPECT_EQ(gradientsOfARepaint(window), (std::vector<std::string>{frame, emptied, knob, hollow}));
  EXPECT_EQ(pixelAt(window, 58, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 100, 12), kToolbar);

  // Beyond a ceiling of 50% the track is the frame's, from where the knob's
  // right edge stops (92 + 8 from the track's start).
  slider().muted = false;
  slider().ceiling = 50;
  slider().binding.ceiling = 0.5;
  const std::string beyond =
      "MakeGradient({104, 8, 196, 16}, 83, #204060, #0a0b0c, 0, 6, 1, 2, #ff00ff, 3)";
  EXPECT_EQ(gradientsOfARepaint(window), (std::vector<std::string>{frame, track, beyond, knob}));
  EXPECT_EQ(pixelAt(window, 80, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 150, 12), kToolbar);

  // Composed off screen, never drawn straight into the window.
  EXPECT_EQ(hostdouble::lastGradientTarget().dcType, static_cast<DWORD>(OBJ_MEMDC));
}

TEST_F(Paint, ShowsNoKnobWhileUnboundAndTheKnobAtItsPlaceOnceBound) {
  EXPECT_EQ(pixelAt(window, 1, 1), kToolbar);
  EXPECT_EQ(pixelAt(window, 199, 23), kToolbar);
  EXPECT_EQ(pixelAt(window, 3, 12), kToolbar);  // margin beside the track
  EXPECT_EQ(pixelAt(window, 4, 8), kLabel);
  EXPECT_EQ(pixelAt(window, 195, 15), kLabel);
  EXPECT_EQ(pixelAt(window, 58, 12), kLabel);  // where a knob at 50 would be
  EXPECT_EQ(pixelAt(window, 100, 12), kLabel);

  bindAt(50);
  repaintNow(window);
  EXPECT_EQ(pixelAt(window, 53, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 54, 12), kToolbar);
  EXPECT_EQ(pixelAt(window, 61, 12), kToolbar);
  EXPECT_EQ(pixelAt(window, 62, 12), kLabel);

  // A moved knob shows at its new place on the next paint; the old place is track again.
  slider().knobPos = 100;
  repaintNow(window);
  EXPECT_EQ(pixelAt(window, 58, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 104, 12), kToolbar);
  EXPECT_EQ(pixelAt(window, 111, 12), kToolbar);
  EXPECT_EQ(pixelAt(window, 112, 12), kLabel);
}

TEST_F(Paint, PartialInvalidationChangesOnlyThePaintRectangle) {
  const COLORREF newFrame = RGB(0x00, 0xff, 0x00);
  const COLORREF newTrack = RGB(0x00, 0x00, 0xff);
  sliderStyle.frameColor = newFrame;
  sliderStyle.trackColor = newTrack;
  hostdouble::clearCalls();
  const RECT part = {60, 0, 110, 24};
  repaintNow(window, &part);

  EXPECT_EQ(pixelAt(window, 60, 2), newFrame);
  EXPECT_EQ(pixelAt(window, 109, 23), newFrame);
  EXPECT_EQ(pixelAt(window, 60, 12), newTrack);
  EXPECT_EQ(pixelAt(window, 109, 12), newTrack);
  EXPECT_EQ(pixelAt(window, 59, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 110, 12), kLabel);
  EXPECT_EQ(pixelAt(window, 10, 2), kToolbar);
  EXPECT_EQ(pixelAt(window, 150, 2), kToolbar);
  // The whole picture is still composed; only the copy is limited.
  const auto drawn = hostdouble::callsNamed("MakeGradient");
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].find("MakeGradient({0, 0, 200, 24}, "), 0u);
  EXPECT_EQ(drawn[1].find("MakeGradient({4, 8, 196, 16}, "), 0u);
}

TEST_F(Paint, ThousandsOfPaintsShareOneOffScreenBuffer) {
  bindAt(90);
  repaintNow(window);
  const auto first = hostdouble::lastGradientTarget();
  ASSERT_NE(first.dc, nullptr);
  ASSERT_NE(first.bitmap, nullptr);
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  // wine reports no GDI count at all, so every paint is also checked to have
  // composed into the one kept DC and bitmap.
  int others = 0;
  for (int i = 0; i < 3000; ++i) {
    slider().knobPos = i % 185;
    repaintNow(window);
    const auto target = hostdouble::lastGradientTarget();
    if (target.dc != first.dc || target.bitmap != first.bitmap) ++others;
    if (i % 500 == 0) hostdouble::clearCalls();  // keep the call record small
  }
  EXPECT_EQ(others, 0);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
  // Still painting correctly afterwards: knob at 2999 % 185 = 39, x 43..51.
  EXPECT_EQ(pixelAt(window, 47, 12), kToolbar);
  EXPECT_EQ(pixelAt(window, 100, 12), kLabel);
}

TEST_F(Paint, ASizeChangeRemakesTheBufferAndStopReleasesIt) {
  const auto old = hostdouble::lastGradientTarget();
  ASSERT_NE(old.bitmap, nullptr);
  SetWindowPos(window, nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  repaintNow(window);
  const auto resized = hostdouble::lastGradientTarget();
  EXPECT_EQ(resized.dc, old.dc);
  EXPECT_EQ(GetObjectType(old.bitmap), 0u);  // the old size's bitmap is deleted, not kept
  BITMAP made = {};
  ASSERT_TRUE(GetObjectA(resized.bitmap, sizeof made, &made));
  EXPECT_EQ(made.bmWidth, 300);
  EXPECT_EQ(made.bmHeight, 30);
  EXPECT_EQ(pixelAt(window, 299, 29), kToolbar);  // the frame fills the new size

  stop();
  EXPECT_EQ(GetObjectType(resized.bitmap), 0u);
  EXPECT_EQ(GetObjectType(resized.dc), 0u);
}

}  // namespace
