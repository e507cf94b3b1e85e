// Names of capture files: "<directory><base>_<NNNN>.<extension>" and its short form
// "<base>_<NNNN>.<extension>", the counter printed with at least four digits.
#pragma once

#include <windows.h>

// Forms both names. When either would not fit in MAX_PATH - 1 characters both are
// left empty and the result is false; nothing is cut short. directory is used as
// given (it ends in a backslash).
bool FormatCaptureNames(const char* directory, const char* baseName, long counter, const char* extension,
                        char (&fullPath)[MAX_PATH], char (&shortName)[MAX_PATH]);

// Copies source into a buffer of capacity bytes and terminates it; false (and an
// empty destination) when source does not fit.
bool CopyWhole(char* destination, size_t capacity, const char* source);

// The first counter from `counter` on whose capture file does not exist yet, so that
// an incrementing capture never replaces one (a folder of that name counts as taken).
// A name that does not fit ends the search at its number, which the caller then refuses.
long FirstFreeCounter(const char* directory, const char* baseName, long counter, const char* extension);
