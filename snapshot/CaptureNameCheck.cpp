#include "snapshot/CaptureNameCheck.h"

#include <cstring>
#include <string>

namespace
{
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsRefusedCharacter(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || std::strchr(":*?\"<>|", c) != nullptr;
}

bool SameLetters(const std::string& text, const char* name)
{
    if (text.size() != std::strlen(name))
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] & ~0x20) != name[i])
            return false;
    return true;
}

// The system looks at a component up to its first dot, trailing spaces dropped.
bool IsDeviceName(const std::string& component)
{
    std::string stem = component.substr(0, component.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (SameLetters(stem, device))
            return true;
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9')
        return false;
    const std::string letters = stem.substr(0, 3);
    return SameLetters(letters, "COM") || SameLetters(letters, "LPT");
}
}  // namespace

bool IsSafeCaptureName(const char* baseName)
{
    std::string component;
    for (const char* c = baseName;; ++c)
    {
        if (*c == '\0' || IsSeparator(*c))
        {
            if (IsDeviceName(component))
                return false;
            if (*c == '\0')
                return true;
            component.clear();
            continue;
        }
        if (IsRefusedCharacter(*c))
            return false;
        component += *c;
    }
}
