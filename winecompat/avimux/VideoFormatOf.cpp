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

bool IsRgb(const BITMAPINFOHEADER& header)
{
    return header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
}

// A FOURCC subtype (the FOURCC in Data1 of the standard base GUID) must name the
// header's compression, and the RGB subtypes an RGB header: the file's strh and strf
// say what its chunks hold, and '00db' or '00dc' follows from it.
bool SubtypeMatches(const GUID& subtype, const BITMAPINFOHEADER& header)
{
    GUID fourcc = MEDIASUBTYPE_YUY2;
    fourcc.Data1 = subtype.Data1;
    if (subtype == fourcc)
        return header.biCompression == subtype.Data1;
    const GUID rgb[] = {MEDIASUBTYPE_RGB1,   MEDIASUBTYPE_RGB4,  MEDIASUBTYPE_RGB8,  MEDIASUBTYPE_RGB555,
                        MEDIASUBTYPE_RGB565, MEDIASUBTYPE_RGB24, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_ARGB32};
    for (const GUID& candidate : rgb)
    {
        if (subtype == candidate)
            return IsRgb(header);
    }
    return true;  // another kind of subtype: the header alone describes the frames
}

// A frame no segment could hold could not be indexed; only RGB rows run top-down.
bool SaneHeader(const BITMAPINFOHEADER& header)
{
    if (header.biHeight < 0 && !IsRgb(header))
        return false;
    if (ConnectedFrameBytes(header) > kLargestFrameBytes)
        return false;
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
    // A compressed frame's size is not known ahead: its pixels at 24 bits are a bound.
    const bool rgb = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
    const ULONGLONG bits = rgb || header.biBitCount > 24 ? header.biBitCount : 24;
    const ULONGLONG stride = ((static_cast<ULONGLONG>(header.biWidth) * bits + 31) / 32) * 4;
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
    if (header.biSize > available || !SaneHeader(header) || !SubtypeMatches(type.subtype, header))
        return VFW_E_TYPE_NOT_ACCEPTED;
    size_t bytes = BitmapInfoBytes(header);
    if (bytes > available)
        bytes = header.biSize;  // a block without its palette: the header alone
    format->bitmapInfo.assign(type.pbFormat + at, type.pbFormat + at + bytes);
    format->frameDuration = FrameDurationOf(type);
    return S_OK;
}
