#include "vcam/filter/FormatCatalog.h"

FormatCatalog::FormatCatalog()
{
    Configure({}, 30, false);
}

void FormatCatalog::Configure(const std::vector<VideoFormat>& formats, unsigned fps, bool videoInfo2)
{
    m_formats = formats.empty() ? DefaultFormats() : formats;
    m_current = VideoMode{m_formats.front(), IntervalForFps(fps)};
    m_videoInfo2 = videoInfo2;
    m_chosen = false;
}

void FormatCatalog::SetCurrent(const VideoMode& mode)
{
    m_current = mode;
    m_chosen = true;
}

HRESULT FormatCatalog::CurrentType(MediaType* out) const
{
    return BuildRgb24Type(m_current, m_videoInfo2, out);
}

HRESULT FormatCatalog::CapabilityType(size_t index, MediaType* out) const
{
    if (index >= m_formats.size())
        return E_INVALIDARG;
    return BuildRgb24Type(VideoMode{m_formats[index], m_current.interval}, false, out);
}

HRESULT FormatCatalog::OfferedTypes(std::vector<MediaType>* out) const
{
    out->clear();
    out->emplace_back();
    HRESULT hr = CurrentType(&out->back());
    if (FAILED(hr) || m_chosen)
        return hr;
    for (const VideoFormat& format : m_formats) {
        if (SameFormat(format, m_current.format))
            continue;
        out->emplace_back();
        hr = BuildRgb24Type(VideoMode{format, m_current.interval}, m_videoInfo2, &out->back());
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool FormatCatalog::Accept(const AM_MEDIA_TYPE& mt, VideoMode* resolved) const
{
    VideoMode mode;
    if (!ReadRgb24Type(mt, &mode) || !Offers(mode.format))
        return false;
    if (mode.interval == 0 || mode.interval == m_current.interval)
        mode.interval = m_current.interval;
    else
        mode.interval = ClampInterval(mode.interval);
    *resolved = mode;
    return true;
}

bool FormatCatalog::Offers(const VideoFormat& format) const
{
    for (const VideoFormat& offered : m_formats) {
        if (SameFormat(offered, format))
            return true;
    }
    return false;
}
