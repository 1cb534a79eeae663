// Placement, z-order, visibility and opacity of the slider window.
#include "slider/placement.h"

#include <climits>

#include "tests/support/plugin_fixture.h"

namespace {

class Placement : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    resetLayeredLookup(LayeredLookup::NotLookedUp);
    ASSERT_EQ(start(), 0);
    window = slider().window;
  }
  void TearDown() override {
    PluginTest::TearDown();
    resetLayeredLookup(LayeredLookup::NotLookedUp);
  }

  int opacity() const {
    COLORREF key = 1;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) return -1;
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    return alpha;
  }
  bool topmost() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  RECT placeOnScreen() const {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
  }

  HWND window = nullptr;
};

TEST_F(Placement, OpacityFollowsAlphaOnlyWhileTransparent) {
  ASSERT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  struct Row {
    bool transparent;
    int alpha;
    int expected;
  };
  const Row rows[] = {
      {true, 0, 0},       {true, 1, 2},     {true, 50, 127},  {true, 99, 252},
      {true, 100, 255},   {true, 150, 255}, {true, -10, 0},   {true, INT_MAX, 255},
      {true, INT_MIN, 0}, {false, 0, 255},  {false, 50, 255}, {true, 50, 127},
  };
  for (const Row& row : rows) {
    slider().transparent = row.transparent;
    slider().alpha = row.alpha;
    slider().applyWindowState();
    EXPECT_EQ(opacity(), row.expected)
        << "transparent " << row.transparent << ", alpha " << row.alpha;
  }
}

TEST_F(Placement, AlwaysOnTopEntersAndLeavesTheTopmostBand) {
  slider().alwaysOnTop = true;
  slider().applyWindowState();
  EXPECT_TRUE(topmost());
  slider().alwaysOnTop = false;
  slider().applyWindowState();
  EXPECT_FALSE(topmost());
  slider().alwaysOnTop = true;
  slider().applyWindowState();
  EXPECT_TRUE(topmost());
}

TEST_F(Placement, HidesOnlyWhenFollowingThePluginsWhileTheyAreHidden) {
  struct Row {
    bool pluginsHidden, toggleWithPlugins, visible;
  };
  const Row rows[] = {{false, false, true},
                      {true, false, true},
                      {false, true, true},
                      {true, true, false},
                      {false, true, true}};
  for (const Row& row : rows) {
    slider().pluginsHidden = row.pluginsHidden;
    slider().toggleWithPlugins = row.toggleWithPlugins;
    slider().applyWindowState();
    EXPECT_EQ(IsWindowVisible(window) != FALSE, row.visible)
        << "pluginsHidden " << row.pluginsHidden << ", toggleWithPlugins " << row.toggleWithPlugins;
  }
}

TEST_F(Placement, HidingTouchesNothingElseAndTheNextPassShowsTheWindowWhereItNowBelongs) {
  slider().transparent = true;
  slider().alpha = 50;
  slider().x = 120;
  slider().y = 130;
  slider().applyWindowState();
  ASSERT_EQ(opacity(), 127);
  ValidateRect(window, nullptr);

  slider().pluginsHidden = true;
  slider().toggleWithPlugins = true;
  slider().alpha = 10;
  slider().alwaysOnTop = false;
  slider().width = 150;
  slider().applyWindowState();
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(opacity(), 127);
  EXPECT_TRUE(topmost());
  RECT r = placeOnScreen();
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 130);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));  // no repaint asked for

  // The window procedure keeps x and y on the window's place, hidden or not:
  // a new place reaches the record while the window is hidden.
  slider().x = 300;
  slider().y = 310;
  slider().pluginsHidden = false;
  slider().applyWindowState();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(opacity(), 25);
  EXPECT_FALSE(topmost());
  r = placeOnScreen();
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 310);
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.bottom - r.top, slider().height);
  RECT dirty = {};
  EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
  EXPECT_EQ(dirty.right, 150);
  EXPECT_EQ(dirty.bottom, slider().height);
}

TEST_F(Placement, LayeredFunctionIsLookedUpOnceAndAnAbsentOneIsNeverSoughtAgain) {
  // The fixture's start already made the first pass.
  EXPECT_EQ(layeredLookupState(), LayeredLookup::Present);
  EXPECT_TRUE(setLayeredAttributes(window, 0, 200, LWA_ALPHA));
  EXPECT_EQ(opacity(), 200);

  resetLayeredLookup(LayeredLookup::NotLookedUp);
  EXPECT_TRUE(setLayeredAttributes(window, 0, 100, LWA_ALPHA));
  EXPECT_EQ(layeredLookupState(), LayeredLookup::Present);

  // As on a system without the function: every pass still places and shows
  // the window, opacity stays as it is and the state never goes back to a lookup.
  resetLayeredLookup(LayeredLookup::Absent);
  slider().transparent = true;
  slider().alpha = 50;
  slider().x = 222;
  for (int i = 0; i < 3; ++i) {
    slider().applyWindowState();
    EXPECT_EQ(layeredLookupState(), LayeredLookup::Absent);
  }
  EXPECT_FALSE(setLayeredAttributes(window, 0, 10, LWA_ALPHA));
  EXPECT_EQ(opacity(), 100);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(placeOnScreen().left, 222);
}

}  // namespace
