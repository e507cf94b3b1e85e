#include "vcam/filter/FramePainter.h"

#include "vcam/filter/VideoMode.h"
#include "vcam/frame/YuvPacking.h"

namespace
{

YuvPacking PackingOf(VideoSubtype subtype)
{
    switch (subtype)
    {
    case VideoSubtype::Uyvy:
        return YuvPacking::Uyvy;
    case VideoSubtype::I420:
        return YuvPacking::I420;
    case VideoSubtype::Nv12:
        return YuvPacking::Nv12;
    default:
        return YuvPacking::Yuy2;
    }
}

}  // namespace

HRESULT FramePainter::Paint(uint32_t number, const SceneSettings& scene, BYTE* out, LONG capacity, LONG* length)
{
    const LONG size = ImageSize(m_format);
    if (m_format.subtype == VideoSubtype::Rgb24)
    {
        if (capacity < size)
            return E_FAIL;
        m_generator.Render(Rgb24Layout(m_format.width, m_format.height), out, number, scene);
        *length = size;
        return S_OK;
    }
    if (m_format.subtype == VideoSubtype::Mjpg)
    {
        if (!m_jpeg)
            m_jpeg = std::make_unique<JpegAhead>(m_format.width, m_format.height);
        return m_jpeg->Paint(number, scene, out, capacity, length);
    }
    PaintRgb(number, scene);
    const FrameLayout layout = Rgb24Layout(m_format.width, -m_format.height);
    if (capacity < size)
        return E_FAIL;
    PackYuv(PackingOf(m_format.subtype), layout, m_rgb.data(), out);
    *length = size;
    return S_OK;
}

void FramePainter::PaintRgb(uint32_t number, const SceneSettings& scene)
{
    const FrameLayout layout = Rgb24Layout(m_format.width, -m_format.height);
    m_rgb.resize(static_cast<size_t>(layout.stride) * m_format.height);
    m_generator.Render(layout, m_rgb.data(), number, scene);
}
