#pragma once
// Reading and replacing whole text files.
#include <string>

// False when the file cannot be opened or is unreasonably large for a settings file.
bool loadTextFile(const std::string& path, std::string* text);
// Writes a temporary file beside the target and renames it over the target, so
// the file is always either the old or the new text, never half of either. A
// read-only file is left as it is (false); a replaced one keeps its attributes.
bool saveTextFileAtomically(const std::string& path, const std::string& text);
