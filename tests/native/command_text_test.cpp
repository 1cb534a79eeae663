#include "commands/command_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/decimal_number.h"

namespace {

std::vector<std::string> tokensOf(const char* text) {
  CommandTokens t;
  tokeniseCommand(text, t);
  std::vector<std::string> out;
  for (int i = 0; i < t.count; ++i) out.push_back(t.token[i]);
  for (int i = t.count; i < kMaxCommandTokens; ++i) EXPECT_EQ(t.token[i], nullptr);
  return out;
}

using Tokens = std::vector<std::string>;

TEST(CommandTokens, SplitLikeTheStandardTokeniser) {
  EXPECT_EQ(tokensOf("@KvSliderConfigure-nomixer-slider1"),
            (Tokens{"@KvSliderConfigure", "nomixer", "slider1"}));
  EXPECT_EQ(tokensOf("--@KvSliderConfigure--alpha---slider1--5--"),
            (Tokens{"@KvSliderConfigure", "alpha", "slider1", "5"}));
  EXPECT_EQ(tokensOf("@KvSliderConfigure"), (Tokens{"@KvSliderConfigure"}));
  EXPECT_EQ(tokensOf("@KvSliderConfigure-"), (Tokens{"@KvSliderConfigure"}));
  EXPECT_EQ(tokensOf(""), Tokens{});
  EXPECT_EQ(tokensOf("------"), Tokens{});
  EXPECT_EQ(tokensOf(nullptr), Tokens{});
}

TEST(CommandTokens, StopAfterSixAndCutTheSixthAtItsSeparator) {
  EXPECT_EQ(tokensOf("p-mixer-slider1-1-2-3-4-5"),
            (Tokens{"p", "mixer", "slider1", "1", "2", "3"}));
  EXPECT_EQ(tokensOf("p-mixer-slider1-1-2-3--"), (Tokens{"p", "mixer", "slider1", "1", "2", "3"}));
}

TEST(CommandTokens, WorkOnTheFirst255CharactersOfAnUnchangedText) {
  // A digit at index 254 stays, the one at 255 is cut; the text itself is not touched.
  std::string text = "@KvSliderConfigure-alpha-slider1-";
  text += std::string(254 - text.size(), '-') + "7" + "5" + std::string(44, '9');
  ASSERT_EQ(text.size(), 300u);
  const std::string before = text;
  CommandTokens t;
  tokeniseCommand(text.c_str(), t);
  ASSERT_EQ(t.count, 4);
  EXPECT_STREQ(t.token[3], "7");
  EXPECT_EQ(text, before);

  // A single 300-character word is cut to 255 and terminated.
  const std::string word(300, 'a');
  tokeniseCommand(word.c_str(), t);
  ASSERT_EQ(t.count, 1);
  EXPECT_EQ(std::string(t.token[0]), std::string(255, 'a'));
}

TEST(CommandMatching, BroadcastsIgnoreCaseThePrefixDoesNot) {
  EXPECT_TRUE(sameTextIgnoringCase("@kvshowplugins", "@KvShowPlugins"));
  EXPECT_TRUE(sameTextIgnoringCase("@KVHIDEPLUGINS", "@KvHidePlugins"));
  EXPECT_FALSE(sameTextIgnoringCase("@KvShowPlugins ", "@KvShowPlugins"));
  EXPECT_FALSE(sameTextIgnoringCase("@KvShowPlugin", "@KvShowPlugins"));
  EXPECT_FALSE(sameTextIgnoringCase("", "@KvShowPlugins"));
  EXPECT_FALSE(sameTextIgnoringCase("@KvShowPlugins\xC9", "@KvShowPlugins\xE9"));

  EXPECT_TRUE(hasConfigurePrefix("@KvSliderConfigure"));
  EXPECT_TRUE(hasConfigurePrefix("@KvSliderConfigureXYZ-nomixer"));
  EXPECT_FALSE(hasConfigurePrefix("@kvsliderconfigure-nomixer-slider1"));
  EXPECT_FALSE(hasConfigurePrefix("@KvSliderConfigur"));
  EXPECT_FALSE(hasConfigurePrefix(""));
  EXPECT_FALSE(hasConfigurePrefix(nullptr));
}

struct NumberCase {
  const char* text;
  std::uint32_t bits;
};

TEST(DecimalNumber, ConvertsWithThirtyTwoBitWrapAround) {
  const NumberCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"  \t\n\v\f\r42", 42},
      {"+7", 7},
      {"-5", 0xFFFFFFFBu},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"+-3", 0},
      {" - 3", 0},
      {"2147483647", 0x7FFFFFFFu},
      {"2147483648", 0x80000000u},
      {"-2147483648", 0x80000000u},
      {"3000000000", 3000000000u},
      {"4294967295", 0xFFFFFFFFu},
      {"4294967296", 0},
      {"4294967301", 5},
      {"99999999999999999999999999", 0xE3FFFFFFu},  // 10^26 - 1 modulo 2^32
  };
  for (const NumberCase& c : cases) EXPECT_EQ(decimalBits(c.text), c.bits) << '"' << c.text << '"';
  EXPECT_EQ(decimalBits(nullptr), 0u);
}

TEST(DecimalNumber, StrictArgumentsArePlainDigitsAndClampInsteadOfWrapping) {
  const struct {
    const char* text;
    bool valid;
    std::uint32_t value;
  } cases[] = {
      {"p-volume-s-0", true, 0},
      {"p-volume-s-75", true, 75},
      {"p-volume-s-100-x", true, 100},
      {"p-volume-s-101", true, 100},
      {"p-volume-s-4294967346", true, 100},
      {"p-volume-s-000000000000000000000000042", true, 42},
      {"p-volume-s-99999999999999999999999999", true, 100},
      {"p-volume-s--30", false, 0},
      {"p-volume-s-+5", false, 0},
      {"p-volume-s-75abc", false, 0},
      {"p-volume-s-1e9", false, 0},
      {"p-volume-s- 5", false, 0},
      {"p-volume-s", false, 0},
  };
  for (const auto& c : cases) {
    CommandTokens t;
    tokeniseCommand(c.text, t);
    std::uint32_t value = 7;
    EXPECT_EQ(strictNumber(t, 3, 100, value), c.valid) << c.text;
    EXPECT_EQ(value, c.valid ? c.value : 7u) << c.text;
  }
  CommandTokens t;
  tokeniseCommand("p-endpoint-s-99999999999", t);
  std::uint32_t value = 0;
  EXPECT_TRUE(strictNumber(t, 3, UINT32_MAX, value));
  EXPECT_EQ(value, UINT32_MAX);
}

TEST(DecimalNumber, SignedViewKeepsTheSameBits) {
  EXPECT_EQ(decimalToInt32("3000000000"), -1294967296);
  EXPECT_EQ(decimalToInt32("4294967295"), -1);
  EXPECT_EQ(decimalToInt32("-1"), -1);
  EXPECT_EQ(decimalToInt32("2147483648"), INT32_MIN);
  EXPECT_EQ(decimalToInt32("2147483647"), INT32_MAX);
  EXPECT_EQ(decimalToInt32("-150"), -150);
}

}  // namespace
