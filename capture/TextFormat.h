// printf-style formatting into a std::string built whole, for the status lines.
#pragma once

#include <cstdio>
#include <string>

template <typename... Args>
std::string FormatText(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, args...);
    text.resize(static_cast<size_t>(length));
    return text;
}
