#include "DeviceLookup.h"

bool ContainsInOrder(const std::vector<std::wstring>& names, const std::vector<std::wstring>& expected)
{
    size_t next = 0;
    for (const std::wstring& name : names)
        if (next < expected.size() && name == expected[next])
            ++next;
    return next == expected.size();
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name)
{
    for (const std::wstring& candidate : names)
        if (candidate == name)
            return true;
    return false;
}
