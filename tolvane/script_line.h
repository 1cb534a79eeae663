#pragma once
// One line of a host script, split into words.
#include <string>
#include <vector>

struct ScriptLine {
  bool optional = false;  // "optional STEP ...": a failure is reported but not fatal
  std::vector<std::string> words;
};

// Words are separated by blanks; "double quotes" keep blanks inside a word and
// allow \" and \\. A line whose first word starts with '#' is a comment. Blank
// and comment lines give no words. False, with a reason, for an unclosed quote.
bool splitScriptLine(const std::string& line, ScriptLine* out, std::string* error);
