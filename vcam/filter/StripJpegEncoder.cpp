#include "vcam/filter/StripJpegEncoder.h"

#include <cstring>

namespace
{

// Appends bytes to out[0..capacity); false, writing nothing, when they do not fit.
bool Put(BYTE* out, size_t capacity, size_t* at, const BYTE* bytes, size_t count)
{
    if (count > capacity - *at)
        return false;
    std::memcpy(out + *at, bytes, count);
    *at += count;
    return true;
}

}  // namespace

HRESULT StripJpegEncoder::Encode(const BYTE* bgr, LONG width, LONG height, LONG stride, BYTE* out, LONG capacity,
                                 LONG* written)
{
    if (width != m_width || height != m_height)
        Restart(width, height);
    if (!m_whole)
    {
        const HRESULT hr = EncodeChangedStrips(bgr, stride);
        if (FAILED(hr))
            return hr;
        if (!m_whole)
            return Stitch(out, capacity, written);
    }
    return m_jpeg.Encode(bgr, width, height, stride, out, capacity, written);
}

void StripJpegEncoder::Restart(LONG width, LONG height)
{
    m_width = width;
    m_height = height;
    m_whole = false;
    m_strips.assign(static_cast<size_t>((height + StripHeight - 1) / StripHeight), Strip{});
    m_reference.clear();
    m_header.clear();
}

HRESULT StripJpegEncoder::EncodeChangedStrips(const BYTE* bgr, LONG stride)
{
    for (size_t i = 0; i < m_strips.size() && !m_whole; ++i)
    {
        const LONG top = static_cast<LONG>(i) * StripHeight;
        const LONG count = m_height - top < StripHeight ? m_height - top : StripHeight;
        const BYTE* rows = bgr + static_cast<ptrdiff_t>(top) * stride;
        if (!StripChanged(m_strips[i], rows, count, stride))
            continue;
        const HRESULT hr = EncodeStrip(&m_strips[i], rows, count, stride);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool StripJpegEncoder::StripChanged(const Strip& strip, const BYTE* rows, LONG count, LONG stride) const
{
    if (strip.pixels.empty())
        return true;
    const size_t rowBytes = static_cast<size_t>(m_width) * 3;
    for (LONG y = 0; y < count; ++y)
    {
        if (std::memcmp(strip.pixels.data() + y * rowBytes, rows + static_cast<ptrdiff_t>(y) * stride, rowBytes) != 0)
            return true;
    }
    return false;
}

HRESULT StripJpegEncoder::EncodeStrip(Strip* strip, const BYTE* rows, LONG count, LONG stride)
{
    const size_t rowBytes = static_cast<size_t>(m_width) * 3;
    // Far more than a strip's JPEG takes: its pixels and room for the header.
    m_encoded.resize(rowBytes * StripHeight * 3 / 2 + 4096);
    LONG length = 0;
    const HRESULT hr = m_jpeg.Encode(rows, m_width, count, stride, m_encoded.data(),
                                     static_cast<LONG>(m_encoded.size()), &length);
    if (FAILED(hr))
        return hr;
    JpegLayout layout;
    const bool usable = ReadJpegLayout(m_encoded.data(), static_cast<size_t>(length), &layout) &&
                        (m_reference.empty() ? TakeHeader(layout)
                                             : SameJpegHeader(m_reference.data(), m_referenceLayout,
                                                              m_encoded.data(), layout));
    if (!usable)
    {
        m_whole = true;
        return S_OK;
    }
    strip->data.assign(m_encoded.begin() + layout.dataAt, m_encoded.begin() + layout.dataEnd);
    strip->pixels.resize(rowBytes * count);
    for (LONG y = 0; y < count; ++y)
        std::memcpy(strip->pixels.data() + y * rowBytes, rows + static_cast<ptrdiff_t>(y) * stride, rowBytes);
    return S_OK;
}

// The first strip's header becomes the reference: its MCUs must tile a strip exactly.
bool StripJpegEncoder::TakeHeader(const JpegLayout& layout)
{
    if (StripHeight % layout.mcuHeight != 0)
        return false;
    const unsigned mcusPerRow = static_cast<unsigned>((m_width + layout.mcuWidth - 1) / layout.mcuWidth);
    const unsigned mcusPerStrip = mcusPerRow * static_cast<unsigned>(StripHeight / layout.mcuHeight);
    if (mcusPerStrip > 0xFFFF)
        return false;
    m_reference.assign(m_encoded.begin(), m_encoded.begin() + layout.dataAt);
    m_referenceLayout = layout;
    m_header.clear();
    AppendStitchedHeader(m_reference.data(), layout, m_height, mcusPerStrip, &m_header);
    return true;
}

HRESULT StripJpegEncoder::Stitch(BYTE* out, LONG capacity, LONG* written) const
{
    const size_t room = capacity > 0 ? static_cast<size_t>(capacity) : 0;
    size_t at = 0;
    bool fits = Put(out, room, &at, m_header.data(), m_header.size());
    for (size_t i = 0; i < m_strips.size() && fits; ++i)
    {
        fits = Put(out, room, &at, m_strips[i].data.data(), m_strips[i].data.size());
        const BYTE marker[] = {0xFF, i + 1 < m_strips.size() ? RestartMarker(i) : BYTE{0xD9}};
        fits = fits && Put(out, room, &at, marker, sizeof(marker));
    }
    if (!fits)
        return E_FAIL;
    *written = static_cast<LONG>(at);
    return S_OK;
}
