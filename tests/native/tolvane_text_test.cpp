// The substitute host's text formats: settings files, values, script lines.
#include <gtest/gtest.h>

#include "tolvane/rc_text.h"
#include "tolvane/script_line.h"
#include "tolvane/values.h"

namespace {
const char kFile[] =
    "# slider settings\n"
    "kvslider.slider1.x: 10\n"
    "  KvSlider.Slider1.Alpha:   55  \n"
    "! a comment: with a colon\n"
    "kvslider.slider1.mixer.device 3\n"
    "toolbar : Raised Gradient\n";
}

TEST(RcText, FindsKeysWithoutCaseAndWithOrWithoutColon) {
  std::string v;
  EXPECT_TRUE(rcFind(kFile, "kvslider.slider1.alpha:", &v));
  EXPECT_EQ(v, "55");
  EXPECT_TRUE(rcFind(kFile, "KVSLIDER.SLIDER1.X", &v));
  EXPECT_EQ(v, "10");
  EXPECT_TRUE(rcFind(kFile, "kvslider.slider1.mixer.device", &v));
  EXPECT_EQ(v, "3");
  EXPECT_TRUE(rcFind(kFile, "kvslider.slider1.mixer.device:", &v));
  EXPECT_TRUE(rcFind(kFile, "toolbar:", &v));
  EXPECT_EQ(v, "Raised Gradient");
  EXPECT_FALSE(rcFind(kFile, "a", &v));                 // comment lines are not entries
  EXPECT_FALSE(rcFind(kFile, "kvslider.slider1", &v));  // no prefix matches
  EXPECT_FALSE(rcFind(kFile, ":", &v));
  EXPECT_FALSE(rcFind("", "x:", &v));
}

TEST(RcText, FirstOfRepeatedKeysWinsAndAllCanBeListed) {
  const std::string text = "plugin: a.dll\r\nPlugin: b.dll\r\nother: 1\r\nplugin:\r\n";
  std::string v;
  ASSERT_TRUE(rcFind(text, "plugin", &v));
  EXPECT_EQ(v, "a.dll");
  EXPECT_EQ(rcFindAll(text, "plugin:"), (std::vector<std::string>{"a.dll", "b.dll", ""}));
}

TEST(RcText, SetReplacesInPlaceAndKeepsEverythingElse) {
  const std::string out = rcSet(kFile, "KVSLIDER.SLIDER1.ALPHA:", "80");
  EXPECT_EQ(out,
            "# slider settings\n"
            "kvslider.slider1.x: 10\n"
            "  KvSlider.Slider1.Alpha: 80\n"
            "! a comment: with a colon\n"
            "kvslider.slider1.mixer.device 3\n"
            "toolbar : Raised Gradient\n");
  // A colon-less line gains a colon when written, still found both ways.
  std::string v;
  const std::string dev = rcSet(kFile, "kvslider.slider1.mixer.device", "4");
  EXPECT_NE(dev.find("kvslider.slider1.mixer.device: 4\n"), std::string::npos);
  EXPECT_TRUE(rcFind(dev, "kvslider.slider1.mixer.device:", &v));
  EXPECT_EQ(v, "4");
}

TEST(RcText, SetAppendsMissingKeysKeepingLineEndings) {
  EXPECT_EQ(rcSet("", "kvslider.slider1.y:", "-5"), "kvslider.slider1.y: -5\n");
  EXPECT_EQ(rcSet("a: 1", "b", "2"), "a: 1\nb: 2\n");
  EXPECT_EQ(rcSet("a: 1\r\n", "b:", "2"), "a: 1\r\nb: 2\r\n");
  EXPECT_EQ(rcSet("a: 1\n", "  ", "2"), "a: 1\n");  // no key, nothing written
}

TEST(RcText, ValueCannotInjectLines) {
  const std::string out = rcSet("a: 1\n", "b:", "x\nc: evil\r\n");
  std::string v;
  EXPECT_FALSE(rcFind(out, "c", &v));
  EXPECT_TRUE(rcFind(out, "b", &v));
  EXPECT_EQ(v, "x c: evil");
}

TEST(Values, Colours) {
  uint32_t c = 1;
  EXPECT_TRUE(parseColor("#102030", &c));
  EXPECT_EQ(c, 0x302010u);  // COLORREF order
  EXPECT_TRUE(parseColor("#fA0", &c));
  EXPECT_EQ(c, 0x00AAFFu);
  EXPECT_TRUE(parseColor("ffffff", &c));
  EXPECT_EQ(c, 0xFFFFFFu);
  for (const char* bad : {"", "#", "#12", "#1234", "#12345g", "red", "#1020300"})
    EXPECT_FALSE(parseColor(bad, &c)) << bad;
}

TEST(Values, BooleansAndIntegers) {
  bool b = false;
  EXPECT_TRUE(parseBool("TRUE", &b) && b);
  EXPECT_TRUE(parseBool("off", &b) && !b);
  EXPECT_FALSE(parseBool("truee", &b));
  EXPECT_FALSE(parseBool("", &b));
  int n = 0;
  EXPECT_TRUE(parseInt("-2147483648", &n));
  EXPECT_EQ(n, INT32_MIN);
  EXPECT_TRUE(parseInt("+2147483647", &n));
  EXPECT_EQ(n, INT32_MAX);
  for (const char* bad : {"", "-", "2147483648", "12a", " 1", "99999999999999999999"})
    EXPECT_FALSE(parseInt(bad, &n)) << bad;
}

TEST(ScriptLine, WordsQuotesCommentsAndOptional) {
  ScriptLine line;
  std::string error;
  ASSERT_TRUE(splitScriptLine("  choose Control \"Dev \\\"1\\\"\" \"\"  ", &line, &error));
  EXPECT_FALSE(line.optional);
  EXPECT_EQ(line.words, (std::vector<std::string>{"choose", "Control", "Dev \"1\"", ""}));
  ASSERT_TRUE(splitScriptLine("optional expect-pixel host 1 1 #ffffff", &line, &error));
  EXPECT_TRUE(line.optional);
  EXPECT_EQ(line.words.back(), "#ffffff");  // '#' inside a line is no comment
  ASSERT_TRUE(splitScriptLine("   # just a note", &line, &error));
  EXPECT_TRUE(line.words.empty());
  EXPECT_FALSE(splitScriptLine("echo \"open", &line, &error));
  EXPECT_EQ(error, "unclosed quote");
}

TEST(RcText, OnlyKeysThatCanBeFoundAgainAreStorable) {
  EXPECT_TRUE(rcKeyIsStorable("kvslider.slider1.x:"));
  EXPECT_TRUE(rcKeyIsStorable("kvslider.slider1.mixer.device"));
  EXPECT_TRUE(rcKeyIsStorable("  toolbar.color:  "));
  EXPECT_FALSE(rcKeyIsStorable(""));
  EXPECT_FALSE(rcKeyIsStorable(":"));
  EXPECT_FALSE(rcKeyIsStorable("two words:"));
  EXPECT_FALSE(rcKeyIsStorable("a\fb"));
  EXPECT_FALSE(rcKeyIsStorable("a:b"));
  EXPECT_FALSE(rcKeyIsStorable("#comment"));
  EXPECT_FALSE(rcKeyIsStorable("line\nbreak"));
  // Every storable key is found again after it is set.
  std::string found;
  EXPECT_TRUE(rcFind(rcSet("x: 1\n", "Key.Two:", "v"), "key.two", &found));
  EXPECT_EQ(found, "v");
}
