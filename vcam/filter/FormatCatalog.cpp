#include "vcam/filter/FormatCatalog.h"

#include <algorithm>

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

REFERENCE_TIME FormatCatalog::ExposedInterval(const VideoMode& mode) const
{
    return m_scene ? std::max<REFERENCE_TIME>(mode.interval, m_scene->Get().exposure) : mode.interval;
}

HRESULT FormatCatalog::TypeFor(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out) const
{
    VideoMode exposed = mode;
    exposed.interval = ExposedInterval(mode);
    return BuildVideoType(exposed, videoInfo2, out);
}

HRESULT FormatCatalog::CurrentType(comkit::MediaType* out) const
{
    return TypeFor(m_current, m_videoInfo2, out);
}

HRESULT FormatCatalog::CapabilityType(size_t index, comkit::MediaType* out) const
{
    if (index >= m_formats.size())
        return E_INVALIDARG;
    return TypeFor(VideoMode{m_formats[index], m_current.interval}, false, out);
}

HRESULT FormatCatalog::OfferedTypes(std::vector<comkit::MediaType>* out) const
{
    return TypesOfOfferedModes(true, out);
}

HRESULT FormatCatalog::ConnectionTypes(std::vector<comkit::MediaType>* out) const
{
    return TypesOfOfferedModes(false, out);
}

HRESULT FormatCatalog::TypesOfOfferedModes(bool videoInfo2First, std::vector<comkit::MediaType>* out) const
{
    out->clear();
    for (const VideoMode& mode : OfferedModes())
    {
        const HRESULT hr = AppendTypes(mode, videoInfo2First, out);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

std::vector<VideoMode> FormatCatalog::OfferedModes() const
{
    std::vector<VideoMode> modes{m_current};
    if (m_chosen)
        return modes;
    for (const VideoFormat& format : m_formats)
    {
        if (!SameFormat(format, m_current.format))
            modes.push_back(VideoMode{format, m_current.interval});
    }
    return modes;
}

HRESULT FormatCatalog::AppendTypes(const VideoMode& mode, bool videoInfo2First,
                                   std::vector<comkit::MediaType>* out) const
{
    const bool headers[2] = {videoInfo2First, !videoInfo2First};
    for (bool videoInfo2 : headers)
    {
        if (videoInfo2 && !m_videoInfo2)
            continue;
        out->emplace_back();
        const HRESULT hr = TypeFor(mode, videoInfo2, &out->back());
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool FormatCatalog::Accept(const AM_MEDIA_TYPE& mt, VideoMode* resolved) const
{
    VideoMode mode;
    if (!ReadVideoType(mt, &mode) || !Offers(mode.format))
        return false;
    const REFERENCE_TIME exposure = m_scene ? m_scene->Get().exposure : 0;
    if (mode.interval == 0 || mode.interval == m_current.interval ||
        mode.interval == std::max<REFERENCE_TIME>(m_current.interval, exposure))
        mode.interval = m_current.interval;
    else
        mode.interval = ClampInterval(mode.interval);
    *resolved = mode;
    return true;
}

bool FormatCatalog::Offers(const VideoFormat& format) const
{
    for (const VideoFormat& offered : m_formats)
    {
        if (SameFormat(offered, format))
            return true;
    }
    return false;
}
