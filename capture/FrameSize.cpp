#include "capture/FrameSize.h"

#include <dvdmedia.h>

namespace
{
const BITMAPINFOHEADER* BitmapHeaderOf(const AM_MEDIA_TYPE& type)
{
    if (!type.pbFormat)
        return nullptr;
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return nullptr;
}
}  // namespace

bool ReadFrameSize(const AM_MEDIA_TYPE& type, LONG* width, LONG* height)
{
    const BITMAPINFOHEADER* header = BitmapHeaderOf(type);
    if (!header)
        return false;
    *width = header->biWidth;
    *height = header->biHeight;
    return true;
}
