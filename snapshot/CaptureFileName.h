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

// The counter after `counter`: it only grows, and at the top of its range it stays
// rather than overflowing into negative numbers.
long NextCounter(long counter);
