#include "VideoFormatOf.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstddef>

namespace
{

// Where the BITMAPINFOHEADER starts in the format block, 0 when the block has none.
size_t BitmapInfoOffset(const AM_MEDIA_TYPE& type)
{
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return offsetof(VIDEOINFOHEADER, bmiHeader);
    if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return offsetof(VIDEOINFOHEADER2, bmiHeader);
    return 0;
}

REFERENCE_TIME FrameDurationOf(const AM_MEDIA_TYPE& type)
{
    return type.formattype == FORMAT_VideoInfo
               ? reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->AvgTimePerFrame
               : reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->AvgTimePerFrame;
}

// The header, its colour masks or palette: what strf must hold.
size_t BitmapInfoBytes(const BITMAPINFOHEADER& header)
{
    size_t bytes = header.biSize;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        bytes += 3 * sizeof(DWORD);
    const DWORD colours = header.biClrUsed         ? header.biClrUsed
                          : header.biBitCount <= 8 ? 1u << header.biBitCount
                                                   : 0;
    return bytes + colours * sizeof(RGBQUAD);
}

bool SaneHeader(const BITMAPINFOHEADER& header)
{
    const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    return header.biSize >= sizeof(BITMAPINFOHEADER) && header.biWidth > 0 && header.biWidth <= 32767 &&
           rows > 0 && rows <= 32767 && header.biBitCount > 0 && header.biClrUsed <= 256 &&
           ConnectedFrameBytes(header) > 0;
}

}  // namespace

DWORD ConnectedFrameBytes(const BITMAPINFOHEADER& header)
{
    if (header.biSizeImage)
        return header.biSizeImage;
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
        return 0;
    const ULONGLONG stride = ((static_cast<ULONGLONG>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const ULONGLONG rows = header.biHeight < 0 ? -static_cast<LONGLONG>(header.biHeight) : header.biHeight;
    const ULONGLONG bytes = stride * rows;
    return bytes <= MAXDWORD ? static_cast<DWORD>(bytes) : 0;
}

HRESULT VideoFormatOf(const AM_MEDIA_TYPE& type, AviVideoFormat* format)
{
    const size_t at = BitmapInfoOffset(type);
    if (type.majortype != MEDIATYPE_Video || !type.pbFormat || at == 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(type.pbFormat + at);
    const size_t available = type.cbFormat - at;
    if (!SaneHeader(header) || header.biSize > available)
        return VFW_E_TYPE_NOT_ACCEPTED;
    size_t bytes = BitmapInfoBytes(header);
    if (bytes > available)
        bytes = header.biSize;  // a block without its palette: the header alone
    format->bitmapInfo.assign(type.pbFormat + at, type.pbFormat + at + bytes);
    format->frameDuration = FrameDurationOf(type);
    return S_OK;
}
