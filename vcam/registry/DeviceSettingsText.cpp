// The compact text forms of a device's formats and faults, as vcamctl takes them.
#include "vcam/registry/DeviceSettings.h"

#include <cwctype>

namespace
{

struct FaultName
{
    unsigned bit;
    const wchar_t* name;
};

constexpr FaultName FaultNames[] = {
    {VcamFault::NoStreamConfig, L"no-stream-config"},
    {VcamFault::NoCapabilities, L"no-caps"},
    {VcamFault::GetStreamCapsFails, L"caps-fail"},
    {VcamFault::GetFormatFails, L"format-fail"},
    {VcamFault::NoPropertyPages, L"no-pages"},
    {VcamFault::Unplug, L"unplug"},
    {VcamFault::Replug, L"replug"},
};

std::vector<std::wstring> SplitCommas(const std::wstring& text)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    for (;;)
    {
        const size_t comma = text.find(L',', start);
        items.push_back(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos)
            return items;
        start = comma + 1;
    }
}

// Reads 1..5 decimal digits at text[*pos] into a value of at most MaxFormatSide.
bool ParseSide(const std::wstring& text, size_t* pos, LONG* value)
{
    LONG result = 0;
    const size_t first = *pos;
    while (*pos < text.size() && std::iswdigit(text[*pos]) && *pos - first < 5)
        result = result * 10 + (text[(*pos)++] - L'0');
    if (*pos == first || result == 0 || result > MaxFormatSide)
        return false;
    *value = result;
    return true;
}

bool ParseFormat(const std::wstring& item, VideoFormat* format)
{
    size_t pos = 0;
    LONG width = 0;
    LONG height = 0;
    if (!ParseSide(item, &pos, &width) || pos >= item.size() || item[pos++] != L'x')
        return false;
    const bool topDown = pos < item.size() && item[pos] == L'-';
    if (topDown)
        ++pos;
    if (!ParseSide(item, &pos, &height) || pos != item.size())
        return false;
    *format = VideoFormat{width, topDown ? -height : height};
    return true;
}

}  // namespace

std::wstring FormatsToText(const std::vector<VideoFormat>& formats)
{
    std::wstring text;
    for (const VideoFormat& format : formats)
    {
        if (!text.empty())
            text += L',';
        text += std::to_wstring(format.width) + L'x' + std::to_wstring(format.height);
    }
    return text;
}

bool ParseFormats(const std::wstring& text, std::vector<VideoFormat>* out)
{
    if (!out)
        return false;
    std::vector<VideoFormat> formats;
    for (const std::wstring& item : SplitCommas(text))
    {
        VideoFormat format{};
        if (!ParseFormat(item, &format))
            return false;
        formats.push_back(format);
    }
    *out = formats;
    return true;
}

std::wstring FaultsToText(unsigned faults)
{
    std::wstring text;
    for (const FaultName& fault : FaultNames)
    {
        if (!(faults & fault.bit))
            continue;
        if (!text.empty())
            text += L',';
        text += fault.name;
    }
    return text;
}

bool ParseFaults(const std::wstring& text, unsigned* out)
{
    if (!out)
        return false;
    unsigned faults = 0;
    if (!text.empty())
    {
        for (const std::wstring& item : SplitCommas(text))
        {
            unsigned bit = 0;
            for (const FaultName& fault : FaultNames)
                if (item == fault.name)
                    bit = fault.bit;
            if (bit == 0)
                return false;
            faults |= bit;
        }
    }
    *out = faults;
    return true;
}
