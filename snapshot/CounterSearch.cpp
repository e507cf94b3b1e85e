#include "snapshot/CounterSearch.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
FolderListing listing = {&::FindFirstFileA, &::FindNextFileA};

class SearchHandle
{
public:
    explicit SearchHandle(HANDLE handle) : m_handle(handle) {}
    ~SearchHandle()
    {
        if (IsValid())
            FindClose(m_handle);
    }
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The part of the base name after its last folder separator: what listed names carry.
const char* LastComponent(const char* baseName)
{
    const char* last = baseName;
    for (const char* c = baseName; *c; ++c)
        if (*c == '\\' || *c == '/')
            last = c + 1;
    return last;
}

// The counter of "<stem>_<digits>.<extension>" (letters in any case), or -1 for any
// other name. Digits past what a counter holds count as the top.
long long CounterOf(const char* name, const std::string& stem, const std::string& extension)
{
    const size_t length = strnlen(name, MAX_PATH);
    const size_t fixed = stem.size() + 1 + 1 + extension.size();
    if (length == MAX_PATH || length <= fixed || _strnicmp(name, stem.c_str(), stem.size()) != 0 ||
        name[stem.size()] != '_')
        return -1;
    const char* tail = name + length - extension.size() - 1;
    if (*tail != '.' || _stricmp(tail + 1, extension.c_str()) != 0)
        return -1;
    long long value = 0;
    for (const char* digit = name + stem.size() + 1; digit < tail; ++digit)
    {
        if (*digit < '0' || *digit > '9')
            return -1;
        value = value * 10 + (*digit - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    return value;
}

bool Pattern(const char* directory, const char* baseName, const char* extension, char (&pattern)[MAX_PATH])
{
    const int length = std::snprintf(pattern, sizeof pattern, "%s%s_*.%s", directory, baseName, extension);
    return length > 0 && static_cast<size_t>(length) < sizeof pattern;
}
}  // namespace

FolderListing SetFolderListing(FolderListing replacement)
{
    const FolderListing previous = listing;
    listing.first = replacement.first ? replacement.first : &::FindFirstFileA;
    listing.next = replacement.next ? replacement.next : &::FindNextFileA;
    return previous;
}

bool NextFreeCounter(const char* directory, const char* baseName, long counter, const char* extension,
                     long& number, const CounterSearchLimits& limits)
{
    char pattern[MAX_PATH];
    long long next = counter;
    // A pattern that does not fit names no file that could: the name is refused later.
    if (Pattern(directory, baseName, extension, pattern))
    {
        const std::string stem = LastComponent(baseName);
        WIN32_FIND_DATAA found = {};
        SearchHandle search(listing.first(pattern, &found));
        const DWORD start = GetTickCount();
        for (DWORD seen = 0; search.IsValid(); ++seen)
        {
            if (seen >= limits.entries || GetTickCount() - start > limits.milliseconds)
                return false;
            const long long taken = CounterOf(found.cFileName, stem, extension);
            if (taken >= next)
                next = taken + 1;
            if (!listing.next(search.Get(), &found))
                break;
        }
    }
    if (next > INT_MAX)
        return false;
    number = static_cast<long>(next);
    return true;
}
