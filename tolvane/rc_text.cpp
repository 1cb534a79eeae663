#include "tolvane/rc_text.h"

#include <cctype>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// One line split into its key and value; keyEnd is where the value part begins
// in the line (after the colon when there is one).
struct Entry {
  bool isEntry = false;
  std::string key;  // normalised
  std::string value;
  size_t keyEnd = 0;
};

Entry splitLine(const std::string& line) {
  Entry entry;
  size_t b = 0;
  while (b < line.size() && isBlank(line[b])) ++b;
  if (b == line.size() || line[b] == '#' || line[b] == ';' || line[b] == '!') return entry;
  size_t e = b;
  while (e < line.size() && line[e] != ':' && !isBlank(line[e])) ++e;
  entry.key = lower(line.substr(b, e - b));
  size_t v = e;
  while (v < line.size() && isBlank(line[v])) ++v;
  if (v < line.size() && line[v] == ':') ++v;  // "key : value" too
  entry.keyEnd = v;
  entry.value = trim(line.substr(v));
  entry.isEntry = !entry.key.empty();
  return entry;
}

// Calls visit(lineStart, lineLength) for each line, without its line break.
template <typename Visit>
void eachLine(const std::string& text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t len = end - start;
    if (len > 0 && text[start + len - 1] == '\r') --len;
    if (!visit(start, len)) return;
    start = end + 1;
  }
}

std::string oneLine(const std::string& value) {
  std::string out = value;
  for (char& c : out)
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  return trim(out);
}

}  // namespace

std::string rcNormaliseKey(const std::string& key) {
  std::string k = trim(key);
  while (!k.empty() && k.back() == ':') k.pop_back();
  return lower(trim(k));
}

bool rcKeyIsStorable(const std::string& key) {
  const std::string k = rcNormaliseKey(key);
  if (k.empty() || k[0] == '#' || k[0] == ';' || k[0] == '!') return false;
  for (char c : k)
    if (isBlank(c) || c == ':' || c == '\n' || c == '\0') return false;
  return true;
}

bool rcFind(const std::string& text, const std::string& key, std::string* value) {
  const std::string want = rcNormaliseKey(key);
  bool found = false;
  if (want.empty()) return false;
  eachLine(text, [&](size_t start, size_t len) {
    Entry entry = splitLine(text.substr(start, len));
    if (entry.isEntry && entry.key == want) {
      *value = entry.value;
      found = true;
      return false;
    }
    return true;
  });
  return found;
}

std::vector<std::string> rcFindAll(const std::string& text, const std::string& key) {
  const std::string want = rcNormaliseKey(key);
  std::vector<std::string> values;
  eachLine(text, [&](size_t start, size_t len) {
    Entry entry = splitLine(text.substr(start, len));
    if (entry.isEntry && entry.key == want) values.push_back(entry.value);
    return true;
  });
  return values;
}

std::string rcSet(const std::string& text, const std::string& key, const std::string& value) {
  const std::string want = rcNormaliseKey(key);
  const std::string clean = oneLine(value);
  if (want.empty()) return text;
  std::string out;
  bool replaced = false;
  eachLine(text, [&](size_t start, size_t len) {
    Entry entry = splitLine(text.substr(start, len));
    if (entry.isEntry && entry.key == want) {
      std::string head = text.substr(start, entry.keyEnd);
      while (!head.empty() && isBlank(head.back())) head.pop_back();
      if (head.back() != ':') head += ":";
      out = text.substr(0, start) + head + " " + clean + text.substr(start + len);
      replaced = true;
      return false;
    }
    return true;
  });
  if (replaced) return out;
  const bool crlf = text.find("\r\n") != std::string::npos;
  out = text;
  if (!out.empty() && out.back() != '\n') out += crlf ? "\r\n" : "\n";
  std::string name = trim(key);
  while (!name.empty() && name.back() == ':') name.pop_back();
  out += name + ": " + clean + (crlf ? "\r\n" : "\n");
  return out;
}
