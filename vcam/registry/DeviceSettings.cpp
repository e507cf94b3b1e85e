// Default formats, and a device's settings read from and written to its property bag.
#include "vcam/registry/DeviceSettings.h"

#include <climits>
#include <new>

#include "comkit/Variant.h"

namespace
{

constexpr unsigned AllFaults = VcamFault::NoStreamConfig | VcamFault::NoCapabilities |
                               VcamFault::GetStreamCapsFails | VcamFault::GetFormatFails |
                               VcamFault::NoPropertyPages | VcamFault::Unplug | VcamFault::Replug;

enum class ReadResult
{
    Missing,
    Value,
    Bad
};

// A stored number within [low, high]. A value the bag cannot give as a number is Bad.
ReadResult ReadNumber(IPropertyBag* bag, const wchar_t* name, long low, long high, long* value)
{
    comkit::Variant stored;
    if (FAILED(bag->Read(name, stored.Get(), nullptr)))
        return ReadResult::Missing;
    comkit::Variant number;
    if (FAILED(VariantChangeType(number.Get(), stored.Get(), 0, VT_I4)))
        return ReadResult::Bad;
    const long read = number.Value().lVal;
    if (read < low || read > high)
        return ReadResult::Bad;
    *value = read;
    return ReadResult::Value;
}

ReadResult ReadText(IPropertyBag* bag, const wchar_t* name, std::wstring* text)
{
    comkit::Variant stored;
    if (FAILED(bag->Read(name, stored.Get(), nullptr)))
        return ReadResult::Missing;
    if (stored.Value().vt != VT_BSTR)
        return ReadResult::Bad;
    const BSTR value = stored.Value().bstrVal;
    text->assign(value ? value : L"", value ? SysStringLen(value) : 0);
    return ReadResult::Value;
}

// Reads one number into *field (unsigned, int or bool); false when the stored value is bad.
template <typename Field>
bool LoadNumber(IPropertyBag* bag, const wchar_t* name, long low, long high, Field* field)
{
    long value = 0;
    switch (ReadNumber(bag, name, low, high, &value))
    {
    case ReadResult::Bad:
        return false;
    case ReadResult::Value:
        *field = static_cast<Field>(value);
        return true;
    default:
        return true;
    }
}

bool LoadFormats(IPropertyBag* bag, std::vector<VideoFormat>* formats)
{
    std::wstring text;
    switch (ReadText(bag, VcamValue::Formats, &text))
    {
    case ReadResult::Bad:
        return false;
    case ReadResult::Value:
        if (text.empty())
        {
            formats->clear();
            return true;
        }
        return ParseFormats(text, formats);
    default:
        return true;
    }
}

// A time stored in microseconds, into 100 ns units.
bool LoadTime(IPropertyBag* bag, const wchar_t* name, LONGLONG max, LONGLONG* time)
{
    long micro = static_cast<long>(*time / 10);
    if (!LoadNumber(bag, name, 0, static_cast<long>(max / 10), &micro))
        return false;
    *time = static_cast<LONGLONG>(micro) * 10;
    return true;
}

bool LoadScene(IPropertyBag* bag, SceneSettings* scene)
{
    return LoadNumber(bag, VcamValue::StarDensity, 0, 100, &scene->starDensity) &&
           LoadNumber(bag, VcamValue::Brightness, 0, 100, &scene->brightness) &&
           LoadNumber(bag, VcamValue::ShowFrameNumber, 0, 1, &scene->showFrameNumber) &&
           LoadTime(bag, VcamValue::Exposure, MaxExposure, &scene->exposure) &&
           LoadNumber(bag, VcamValue::Pattern, 0, 1, &scene->pattern);
}

bool LoadDelivery(IPropertyBag* bag, DeviceSettings* settings)
{
    return LoadTime(bag, VcamValue::FirstFrameDelay, MaxDelay, &settings->firstFrameDelay) &&
           LoadTime(bag, VcamValue::Jitter, MaxDelay, &settings->jitter) &&
           LoadNumber(bag, VcamValue::DropFrom, 0, LONG_MAX, &settings->dropFrom) &&
           LoadNumber(bag, VcamValue::DropCount, 0, LONG_MAX, &settings->dropCount);
}

HRESULT WriteNumber(IPropertyBag* bag, const wchar_t* name, long value)
{
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = value;
    return bag->Write(name, &number);
}

HRESULT WriteText(IPropertyBag* bag, const wchar_t* name, const std::wstring& text)
{
    comkit::Variant value;
    value.Get()->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value.Value().bstrVal)
        return E_OUTOFMEMORY;
    value.Get()->vt = VT_BSTR;
    return bag->Write(name, value.Get());
}

}  // namespace

std::vector<VideoFormat> DefaultFormats()
{
    return {{640, 480}, {320, 240}, {1280, 960}, {642, 480}, {640, -480}};
}

std::vector<VideoFormat> EffectiveFormats(const DeviceSettings& settings)
{
    return settings.formats.empty() ? DefaultFormats() : settings.formats;
}

bool SettingsAreValid(const DeviceSettings& settings)
{
    for (const VideoFormat& format : settings.formats)
    {
        if (!FormatIsValid(format))
            return false;
    }
    const auto inRange = [](LONGLONG time) { return time >= 0 && time <= MaxDelay; };
    return settings.fps >= MinFps && settings.fps <= MaxFps && (settings.faults & ~AllFaults) == 0 &&
           settings.stopAfterFrames <= static_cast<unsigned>(LONG_MAX) && inRange(settings.firstFrameDelay) &&
           inRange(settings.jitter) && settings.dropFrom <= static_cast<unsigned>(LONG_MAX) &&
           settings.dropCount <= static_cast<unsigned>(LONG_MAX);
}

namespace
{

HRESULT LoadInto(IPropertyBag* bag, DeviceSettings* out)
{
    DeviceSettings settings;
    const bool good = LoadFormats(bag, &settings.formats) &&
                      LoadNumber(bag, VcamValue::Fps, MinFps, MaxFps, &settings.fps) &&
                      LoadNumber(bag, VcamValue::VideoInfo2, 0, 1, &settings.videoInfo2) &&
                      LoadNumber(bag, VcamValue::PreviewPin, 0, 1, &settings.previewPin) &&
                      LoadNumber(bag, VcamValue::VideoPortPin, 0, 1, &settings.videoPortPin) &&
                      LoadNumber(bag, VcamValue::Faults, 0, AllFaults, &settings.faults) &&
                      LoadNumber(bag, VcamValue::StopAfter, 0, LONG_MAX, &settings.stopAfterFrames) &&
                      LoadScene(bag, &settings.scene) && LoadDelivery(bag, &settings);
    if (!good)
        return E_INVALIDARG;
    *out = settings;
    return S_OK;
}

}  // namespace

// Called from the filter's IPersistPropertyBag::Load: no exception may leave.
HRESULT LoadDeviceSettings(IPropertyBag* bag, DeviceSettings* out)
{
    if (!bag || !out)
        return E_POINTER;
    try
    {
        return LoadInto(bag, out);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}

namespace
{

HRESULT SaveTo(IPropertyBag* bag, const DeviceSettings& settings)
{
    const SceneSettings scene = ClampScene(settings.scene);
    const struct
    {
        const wchar_t* name;
        long value;
    } numbers[] = {
        {VcamValue::Fps, static_cast<long>(settings.fps)},
        {VcamValue::VideoInfo2, settings.videoInfo2},
        {VcamValue::PreviewPin, settings.previewPin},
        {VcamValue::VideoPortPin, settings.videoPortPin},
        {VcamValue::Faults, static_cast<long>(settings.faults & AllFaults)},
        {VcamValue::StopAfter, static_cast<long>(settings.stopAfterFrames)},
        {VcamValue::StarDensity, scene.starDensity},
        {VcamValue::Brightness, scene.brightness},
        {VcamValue::ShowFrameNumber, scene.showFrameNumber},
        {VcamValue::Exposure, static_cast<long>(scene.exposure / 10)},
        {VcamValue::Pattern, static_cast<long>(scene.pattern)},
        {VcamValue::FirstFrameDelay, static_cast<long>(settings.firstFrameDelay / 10)},
        {VcamValue::Jitter, static_cast<long>(settings.jitter / 10)},
        {VcamValue::DropFrom, static_cast<long>(settings.dropFrom)},
        {VcamValue::DropCount, static_cast<long>(settings.dropCount)},
        {VcamValue::Marker, 1},
    };
    HRESULT hr =
        settings.formats.empty() ? S_OK : WriteText(bag, VcamValue::Formats, FormatsToText(settings.formats));
    for (const auto& number : numbers)
        if (SUCCEEDED(hr))
            hr = WriteNumber(bag, number.name, number.value);
    return hr;
}

}  // namespace

HRESULT SaveDeviceSettings(IPropertyBag* bag, const DeviceSettings& settings)
{
    if (!bag)
        return E_POINTER;
    try
    {
        return SaveTo(bag, settings);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}
