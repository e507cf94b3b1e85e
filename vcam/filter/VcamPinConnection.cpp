// Connecting the pin: which types it offers and takes, and its buffers. The connection
// itself is comkit::OutputPinBase's: the peer's complete type, then ours (the current
// format first), then the peer's.
#include "vcam/filter/VcamPin.h"

#include "vcam/filter/VcamFilter.h"

namespace
{

// Room for the renderer to hold a frame while the next one is drawn.
constexpr long MinBuffers = 3;

}  // namespace

HRESULT VcamPin::OfferedTypes(std::vector<comkit::MediaType>* types)
{
    comkit::Lock data(m_filter.DataLock());
    return m_formats.OfferedTypes(types);
}

HRESULT VcamPin::ConnectionTypes(std::vector<comkit::MediaType>* types)
{
    comkit::Lock data(m_filter.DataLock());
    return m_formats.ConnectionTypes(types);
}

// The type we deliver is always our own rendering of the agreed format, so that
// biSizeImage and AvgTimePerFrame are filled in whatever the proposal left out.
HRESULT VcamPin::AgreeType(const AM_MEDIA_TYPE& candidate, comkit::MediaType* agreed)
{
    VideoMode mode;
    {
        comkit::Lock data(m_filter.DataLock());
        if (!m_formats.Accept(candidate, &mode))
            return S_FALSE;
    }
    return m_formats.TypeFor(mode, candidate.formattype == FORMAT_VideoInfo2, agreed);
}

// Buffers of exactly one image, unless the peer asks for more.
HRESULT VcamPin::DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request)
{
    LONG imageSize;
    {
        comkit::Lock data(m_filter.DataLock());
        VideoMode mode;
        if (!m_formats.Accept(ConnectedType(), &mode))
            return VFW_E_TYPE_NOT_ACCEPTED;
        imageSize = ImageSize(mode.format);
    }
    return SizeBuffers(allocator, request, MinBuffers, imageSize);
}

void VcamPin::OnConnected(const AM_MEDIA_TYPE& agreed)
{
    comkit::Lock data(m_filter.DataLock());
    VideoMode mode;
    if (m_formats.Accept(agreed, &mode))
        m_formats.Follow(mode);
}
