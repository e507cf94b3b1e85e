// The output directory: a folder path with a backslash appended, in a fixed buffer.
#pragma once

#include <cstddef>

// directory = folder + "\\" when that fits in capacity bytes with the terminator;
// otherwise directory is left as it was and the result is false.
bool SetOutputDirectory(char* directory, size_t capacity, const char* folder);

// The user's documents folder (created if missing). When it cannot be had or does not
// fit, the current folder; when that does not fit either, an empty directory, so
// files land in the current folder under relative names.
void SetDefaultOutputDirectory(char* directory, size_t capacity);
