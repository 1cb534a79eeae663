#pragma once
#include <cstdint>

// Splitting and matching of command texts, free of any platform type.

constexpr int kCommandCopySize = 256;  // working copy: at most 255 characters
constexpr int kMaxCommandTokens = 6;   // prefix, keyword, instance, three arguments

// A command cut at "-" the way the standard tokeniser cuts: a run of separators
// counts as one, separators at either end are skipped, no token is empty.
// Tokens point into copy, which holds the first 255 characters of the text.
struct CommandTokens {
  char copy[kCommandCopySize];
  const char* token[kMaxCommandTokens];
  int count;
};

// Never reads the text past its 255th character and never writes to it.
void tokeniseCommand(const char* text, CommandTokens& out);

// A number argument of the newer keywords: one or more decimal digits and
// nothing else. The tokeniser folds "--" into one separator, so a minus sign
// is looked for in the text itself: a token standing after two separators is
// refused. Numbers above limit read as limit, however many digits they have.
// False (and value untouched) for an absent or malformed token.
bool strictNumber(const CommandTokens& t, int index, std::uint32_t limit, std::uint32_t& value);

// Whole-text comparison without regard to ASCII letter case.
bool sameTextIgnoringCase(const char* a, const char* b);

// True when text starts with exactly "@KvSliderConfigure" (case-sensitive).
bool hasConfigurePrefix(const char* text);
