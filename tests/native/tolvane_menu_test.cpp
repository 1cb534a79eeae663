// The substitute host's menu records: ownership, refusal of bad handles,
// the dump format and choosing by label path.
#include <gtest/gtest.h>

#include "tolvane/menu_tree.h"

namespace {
// KvSlider > Control > Card > Master Volume > "- Volume"; Options; a spare root.
struct Tree {
  MenuStore store;
  HostMenuRecord* root = store.create("KvSlider");
  HostMenuRecord* control = store.create("Control");
  HostMenuRecord* card = store.create("Card");
  HostMenuRecord* line = store.create("Master Volume");
  Tree() {
    store.addItem(line, "- Volume", "@mixer-0-1-0", true);
    store.addInert(line, "");
    store.attach(card, line, "Master Volume");
    store.attach(control, card, "Card");
    store.addItem(control, "- Nothing", "@nomixer", false);
    store.attach(root, control, "Control");
    store.addInert(root, "No \"quotes\" here");
  }
};
}  // namespace

TEST(MenuTree, DumpShowsTheWholeTreeIndented) {
  Tree t;
  EXPECT_EQ(dumpMenu(*t.root),
            "menu \"KvSlider\"\n"
            "  submenu \"Control\"\n"
            "    submenu \"Card\"\n"
            "      submenu \"Master Volume\"\n"
            "        item [x] \"- Volume\" -> \"@mixer-0-1-0\"\n"
            "        text \"\"\n"
            "    item [ ] \"- Nothing\" -> \"@nomixer\"\n"
            "  text \"No \\\"quotes\\\" here\"\n");
}

TEST(MenuTree, FindByLabelPathWithWildcards) {
  Tree t;
  const HostMenuItem* item = findMenuItem(*t.root, {"Control", "*", "Master*", "- Volume"});
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->command, "@mixer-0-1-0");
  EXPECT_EQ(findMenuItem(*t.root, {"Control", "- Nothing"})->command, "@nomixer");
  EXPECT_EQ(findMenuItem(*t.root, {"Control", "Card"})->kind, HostMenuItem::Submenu);
  EXPECT_EQ(findMenuItem(*t.root, {"control"}), nullptr);  // labels keep their case
  EXPECT_EQ(findMenuItem(*t.root, {"Control", "- Nothing", "x"}), nullptr);
  EXPECT_EQ(findMenuItem(*t.root, {}), nullptr);
  // A submenu matched first that leads nowhere is passed by for the next.
  HostMenuRecord* apps = t.store.create("Applications");
  t.store.addInert(apps, "(none)");
  t.store.attach(t.control, apps, "Applications");
  std::swap(t.control->items.front(), t.control->items.back());
  ASSERT_EQ(t.control->items.front().label, "Applications");
  EXPECT_EQ(findMenuItem(*t.root, {"Control", "*", "Master*", "- Volume"}), item);
  EXPECT_TRUE(labelMatches("?0%", "50%"));
  EXPECT_TRUE(labelMatches("*a*b", "xxaxxb"));
  EXPECT_FALSE(labelMatches("*a*b", "xxaxxbc"));
  EXPECT_TRUE(labelMatches("", ""));
}

TEST(MenuTree, DestroyFreesSubtreesAndRefusesStaleHandles) {
  Tree t;
  EXPECT_EQ(t.store.liveCount(), 4u);
  EXPECT_TRUE(t.store.destroy(t.card));  // a submenu: taken out of its parent too
  EXPECT_EQ(t.store.liveCount(), 2u);
  EXPECT_EQ(findMenuItem(*t.root, {"Control", "Card"}), nullptr);
  EXPECT_FALSE(t.store.destroy(t.line));  // went with its parent
  EXPECT_FALSE(t.store.addItem(t.card, "x", "y", false));
  EXPECT_FALSE(t.store.addInert(nullptr, "x"));
  EXPECT_TRUE(t.store.destroy(t.root));
  EXPECT_EQ(t.store.liveCount(), 0u);
}

TEST(MenuTree, AttachRefusesLoopsAndSecondParents) {
  Tree t;
  HostMenuRecord* other = t.store.create("Other");
  EXPECT_FALSE(t.store.attach(t.line, t.root, "loop"));
  EXPECT_FALSE(t.store.attach(t.line, t.line, "self"));
  EXPECT_FALSE(t.store.attach(other, t.card, "stolen"));
  EXPECT_TRUE(t.store.attach(other, t.store.create("Fresh"), "Fresh"));
}

TEST(MenuTree, CopyIsIndependentOfTheOriginal) {
  Tree t;
  MenuStore copies;
  HostMenuRecord* copy = copies.copyOf(*t.root);
  const std::string before = dumpMenu(*copy);
  EXPECT_EQ(before, dumpMenu(*t.root));
  t.store.destroy(t.root);
  EXPECT_EQ(dumpMenu(*copy), before);
  EXPECT_EQ(copies.liveCount(), 4u);
}
