// The compact text forms of a device's formats, faults, times and drop burst, as
// vcamctl takes them.
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

struct SubtypeName
{
    VideoSubtype subtype;
    const wchar_t* name;
};

constexpr SubtypeName SubtypeNames[] = {
    {VideoSubtype::Rgb24, L"RGB24"}, {VideoSubtype::Yuy2, L"YUY2"}, {VideoSubtype::Uyvy, L"UYVY"},
    {VideoSubtype::I420, L"I420"},   {VideoSubtype::Nv12, L"NV12"}, {VideoSubtype::Mjpg, L"MJPG"},
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

// "YUY2:" and the like at the start of an item; none means RGB24.
bool ParseSubtype(const std::wstring& item, size_t* pos, VideoSubtype* subtype)
{
    const size_t colon = item.find(L':');
    if (colon == std::wstring::npos)
        return true;
    for (const SubtypeName& known : SubtypeNames)
    {
        if (item.compare(0, colon, known.name) == 0)
        {
            *subtype = known.subtype;
            *pos = colon + 1;
            return true;
        }
    }
    return false;
}

bool ParseFormat(const std::wstring& item, VideoFormat* format)
{
    size_t pos = 0;
    VideoSubtype subtype = VideoSubtype::Rgb24;
    if (!ParseSubtype(item, &pos, &subtype))
        return false;
    LONG width = 0;
    LONG height = 0;
    if (!ParseSide(item, &pos, &width) || pos >= item.size() || item[pos++] != L'x')
        return false;
    const bool topDown = pos < item.size() && item[pos] == L'-';
    if (topDown)
        ++pos;
    if (!ParseSide(item, &pos, &height) || pos != item.size())
        return false;
    const VideoFormat parsed{width, topDown ? -height : height, subtype};
    if (!FormatIsValid(parsed))
        return false;
    *format = parsed;
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
        for (const SubtypeName& known : SubtypeNames)
            if (known.subtype == format.subtype && format.subtype != VideoSubtype::Rgb24)
                text += std::wstring(known.name) + L':';
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

bool FormatIsValid(const VideoFormat& format)
{
    const LONG height = format.height < 0 ? -format.height : format.height;
    if (format.width <= 0 || format.width > MaxFormatSide || height == 0 || height > MaxFormatSide)
        return false;
    return format.subtype == VideoSubtype::Rgb24 || (format.height > 0 && format.width % 2 == 0 && height % 2 == 0);
}

bool ProfileFormats(const std::wstring& name, std::vector<VideoFormat>* out)
{
    using S = VideoSubtype;
    if (name == L"webcam")
        *out = {{640, 480, S::Yuy2}, {320, 240, S::Yuy2}, {1280, 960, S::Mjpg}, {1280, 720, S::Mjpg}};
    else if (name == L"night-sky")
        *out = {{640, 480, S::Rgb24}, {640, 480, S::Yuy2}, {1280, 960, S::Rgb24}, {1280, 960, S::Yuy2}};
    else
        return false;
    return true;
}

bool ParseSeconds(const std::wstring& text, LONGLONG max, LONGLONG* out)
{
    constexpr int MaxDecimals = 6;
    LONGLONG micro = 0;
    int decimals = -1;  // none yet: no point seen
    size_t digits = 0;
    for (wchar_t c : text)
    {
        if (c == L'.' && decimals < 0)
        {
            decimals = 0;
            continue;
        }
        if (!std::iswdigit(c) || ++digits > 12 || decimals >= MaxDecimals)
            return false;
        micro = micro * 10 + (c - L'0');
        if (decimals >= 0)
            ++decimals;
    }
    if (digits == 0)
        return false;
    for (int i = decimals < 0 ? 0 : decimals; i < MaxDecimals; ++i)
        micro *= 10;
    if (micro > max / 10)
        return false;
    *out = micro * 10;
    return true;
}

std::wstring SecondsToText(LONGLONG time)
{
    const LONGLONG micro = time / 10;
    std::wstring text = std::to_wstring(micro / 1000000);
    std::wstring fraction = std::to_wstring(1000000 + micro % 1000000).substr(1);
    while (!fraction.empty() && fraction.back() == L'0')
        fraction.pop_back();
    return fraction.empty() ? text : text + L'.' + fraction;
}

bool ParseDropBurst(const std::wstring& text, unsigned* from, unsigned* count)
{
    const size_t colon = text.find(L':');
    if (colon == std::wstring::npos || colon == 0 || colon + 1 == text.size() || colon > 9 ||
        text.size() - colon - 1 > 9)
        return false;
    unsigned values[2] = {0, 0};
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (i == colon)
            continue;
        if (!std::iswdigit(text[i]))
            return false;
        unsigned& value = values[i > colon];
        value = value * 10 + (text[i] - L'0');
    }
    *from = values[0];
    *count = values[1];
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
