#include "capture/DeviceName.h"

std::string AnsiDeviceName(BSTR name)
{
    const int units = static_cast<int>(SysStringLen(name));
    if (units == 0)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, name, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, units, &text[0], bytes, nullptr, nullptr);
    // A name with an embedded NUL shows up to it, as a C string would.
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}
