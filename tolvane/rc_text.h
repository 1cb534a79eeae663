#pragma once
// The key/value text of settings and style files: one "key: value" per line.
// Keys compare without regard to letter case, and a key written with or without
// its trailing colon names the same entry. Lines starting with '#', ';' or '!'
// are comments. Values are trimmed.
#include <string>
#include <vector>

// The key as entries are compared: trimmed, trailing colon dropped, lower case.
std::string rcNormaliseKey(const std::string& key);

// Whether the key can be stored so that it is found again: not empty once
// normalised, no blank, colon, line break or NUL inside, not starting a comment.
bool rcKeyIsStorable(const std::string& key);

// The value of the first line holding the key; false when there is none.
bool rcFind(const std::string& text, const std::string& key, std::string* value);

// The values of every line holding the key, in file order.
std::vector<std::string> rcFindAll(const std::string& text, const std::string& key);

// The text with the key's first line given the value (the line's own key
// spelling kept) or, when the key is absent, a new "key: value" line appended.
// Every other line stays byte for byte. Line breaks inside the value become
// blanks, so a value can never smuggle in a line of its own.
std::string rcSet(const std::string& text, const std::string& key, const std::string& value);
