#include "capture/StatusText.h"

#include <cstdio>

namespace
{
template <typename... Args>
std::string Format(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, args...);
    text.resize(static_cast<size_t>(length));
    return text;
}
}  // namespace

std::string PreviewStatusText(LONG width, LONG height)
{
    return Format("Preview: %ld x %ld", width, height);
}

std::string CaptureStatusText(const char* path, LONG width, LONG height)
{
    return Format("Capturing %s (%ldx%ld)", path ? path : "", width, height);
}
