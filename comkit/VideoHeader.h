// The bitmap header inside a video media type's format block.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

namespace comkit
{

// The BITMAPINFOHEADER of a VIDEOINFOHEADER or VIDEOINFOHEADER2 block, read only when the
// block is as long as its structure; null for any other format.
inline const BITMAPINFOHEADER* VideoBitmapHeader(const AM_MEDIA_TYPE& type)
{
    if (!type.pbFormat)
        return nullptr;
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return nullptr;
}

}  // namespace comkit
