// The number the next incrementing capture takes: above every capture of the same base
// name and extension already in the folder, so that name order stays time order, and
// never below the counter. One directory listing, bounded whatever the file system
// answers.
#pragma once

#include <windows.h>

struct CounterSearchLimits
{
    DWORD entries;       // names looked at before giving up
    DWORD milliseconds;  // time spent listing before giving up
};
constexpr CounterSearchLimits kCounterSearchLimits = {200000, 3000};

// False when the listing ran past a limit or a capture already carries the highest
// number a counter can hold; `number` is then left alone. A folder that cannot be
// listed (missing, unreadable) holds nothing to count: the file's own creation then
// says what is wrong.
bool NextFreeCounter(const char* directory, const char* baseName, long counter, const char* extension,
                     long& number, const CounterSearchLimits& limits = kCounterSearchLimits);

// Tests stand in for the listing calls to play a file system that never stops
// answering; returns the previous pair. Null puts the system's calls back.
using FindFirstFn = HANDLE(WINAPI*)(LPCSTR pattern, LPWIN32_FIND_DATAA found);
using FindNextFn = BOOL(WINAPI*)(HANDLE search, LPWIN32_FIND_DATAA found);
struct FolderListing
{
    FindFirstFn first;
    FindNextFn next;
};
FolderListing SetFolderListing(FolderListing listing);
