#include "snapshot/CaptureFileName.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace
{
// "%04ld": at least four digits; a long holds the counter whatever its value.
constexpr size_t kCounterDigitsMax = 20;

bool FormatShortName(const char* baseName, long counter, const char* extension, char (&shortName)[MAX_PATH])
{
    char digits[kCounterDigitsMax + 2];
    const int digitCount = std::snprintf(digits, sizeof digits, "%04ld", counter);
    if (digitCount < 0 || static_cast<size_t>(digitCount) >= sizeof digits)
        return false;
    // base + '_' + digits + '.' + extension, and the terminator.
    const size_t needed =
        std::strlen(baseName) + 1 + static_cast<size_t>(digitCount) + 1 + std::strlen(extension) + 1;
    if (needed > sizeof shortName)
        return false;
    std::snprintf(shortName, sizeof shortName, "%s_%s.%s", baseName, digits, extension);
    return true;
}
}  // namespace

bool CopyWhole(char* destination, size_t capacity, const char* source)
{
    if (capacity == 0)
        return false;
    const size_t length = std::strlen(source);
    if (length >= capacity)
    {
        destination[0] = '\0';
        return false;
    }
    std::memcpy(destination, source, length + 1);
    return true;
}

bool FormatCaptureNames(const char* directory, const char* baseName, long counter, const char* extension,
                        char (&fullPath)[MAX_PATH], char (&shortName)[MAX_PATH])
{
    fullPath[0] = '\0';
    if (!FormatShortName(baseName, counter, extension, shortName))
    {
        shortName[0] = '\0';
        return false;
    }
    const size_t needed = std::strlen(directory) + std::strlen(shortName) + 1;
    if (needed > sizeof fullPath)
    {
        shortName[0] = '\0';
        return false;
    }
    std::snprintf(fullPath, sizeof fullPath, "%s%s", directory, shortName);
    return true;
}

long NextCounter(long counter)
{
    return counter < INT_MAX ? counter + 1 : counter;
}
