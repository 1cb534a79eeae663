#pragma once
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

// Whole-text comparison without regard to ASCII letter case.
bool sameTextIgnoringCase(const char* a, const char* b);

// True when text starts with exactly "@KvSliderConfigure" (case-sensitive).
bool hasConfigurePrefix(const char* text);
