#include "settings/settings_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int kCapacity = 260;

std::string join(const std::string& directory, const char* name, bool* fitted = nullptr) {
  char out[kCapacity];
  std::memset(out, 'X', sizeof out);
  const bool ok = joinDirectoryAndName(out, kCapacity, directory.c_str(),
                                       static_cast<int>(directory.size()), name);
  if (fitted) *fitted = ok;
  return out;
}

TEST(SettingsPath, DirectoryEndsAtTheLastBackslash) {
  EXPECT_EQ(directoryLength("C:\\Shell\\plugins\\KvSlider.dll"), 17);
  EXPECT_EQ(directoryLength("C:\\KvSlider.dll"), 3);
  EXPECT_EQ(directoryLength("KvSlider.dll"), 0);
  EXPECT_EQ(directoryLength(""), 0);
  EXPECT_EQ(directoryLength("C:\\dir\\"), 7);
}

TEST(SettingsPath, JoinsWithExactlyOneSeparator) {
  EXPECT_EQ(join("C:\\Tolvane", "KvSliderrc"), "C:\\Tolvane\\KvSliderrc");
  EXPECT_EQ(join("C:\\Tolvane\\", "KvSliderrc"), "C:\\Tolvane\\KvSliderrc");
  EXPECT_EQ(join("C:/Tolvane/", "KvSlider.rc"), "C:/Tolvane/KvSlider.rc");
  EXPECT_EQ(join("", "KvSlider.rc"), "KvSlider.rc");  // a module name without directory
}

TEST(SettingsPath, JoinsOnlyTheGivenPartOfTheDirectory) {
  const char module[] = "C:\\Shell\\KvSlider.dll";
  char out[kCapacity];
  ASSERT_TRUE(joinDirectoryAndName(out, kCapacity, module, directoryLength(module), "KvSliderrc"));
  EXPECT_STREQ(out, "C:\\Shell\\KvSliderrc");
}

TEST(SettingsPath, ACandidateThatWouldNotFitIsRefusedWhole) {
  bool fitted = false;
  // 248 + separator + 10 = 259 characters: the longest that fits.
  const std::string longest(248, 'd');
  EXPECT_EQ(join(longest, "KvSliderrc", &fitted), longest + "\\KvSliderrc");
  EXPECT_TRUE(fitted);
  // One more character in the directory, or in the name, no longer fits.
  EXPECT_EQ(join(longest + "d", "KvSliderrc", &fitted), "");
  EXPECT_FALSE(fitted);
  EXPECT_EQ(join(longest, "KvSlider.rc", &fitted), "");
  EXPECT_FALSE(fitted);
  // With its separator already there, the directory may be one longer.
  EXPECT_EQ(join(longest + "\\", "KvSliderrc", &fitted), longest + "\\KvSliderrc");
  EXPECT_TRUE(fitted);
  EXPECT_EQ(join(std::string(300, 'd'), "KvSliderrc", &fitted), "");
  EXPECT_FALSE(fitted);

  char tiny[1] = {'X'};
  EXPECT_FALSE(joinDirectoryAndName(tiny, 1, "", 0, "a"));
  EXPECT_EQ(tiny[0], '\0');
  EXPECT_FALSE(joinDirectoryAndName(tiny, 0, "", 0, "a"));
}

}  // namespace
