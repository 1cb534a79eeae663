#include "tolvane/script_line.h"

bool splitScriptLine(const std::string& line, ScriptLine* out, std::string* error) {
  *out = ScriptLine();
  size_t i = 0;
  const size_t n = line.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (true) {
    while (i < n && blank(line[i])) ++i;
    if (i == n) break;
    if (out->words.empty() && line[i] == '#') break;
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < n && (line[i] == '"' || line[i] == '\\')) c = line[i++];
        word += c;
      }
      if (!closed) {
        *error = "unclosed quote";
        out->words.clear();
        return false;
      }
    } else {
      while (i < n && !blank(line[i])) word += line[i++];
    }
    out->words.push_back(word);
  }
  if (!out->words.empty() && out->words[0] == "optional") {
    out->optional = true;
    out->words.erase(out->words.begin());
  }
  return true;
}
