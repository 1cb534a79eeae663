#pragma once
// Building the settings file's candidate paths, free of any platform type.

// Length of the directory part of a full file name, its last backslash
// included; 0 when the text holds no backslash.
int directoryLength(const char* path);

// out = the first length characters of directory, a backslash unless that text
// is empty or already ends in a separator, then name. A result that would not
// fit in capacity bytes (terminator included) is never cut short, since a cut
// path names some other file: out is then left empty and the result is false.
// out must not overlap directory.
bool joinDirectoryAndName(char* out, int capacity, const char* directory, int length,
                          const char* name);
