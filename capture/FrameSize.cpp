#include "capture/FrameSize.h"

#include "comkit/VideoHeader.h"

bool ReadFrameSize(const AM_MEDIA_TYPE& type, LONG* width, LONG* height)
{
    const BITMAPINFOHEADER* header = comkit::VideoBitmapHeader(type);
    if (!header)
        return false;
    *width = header->biWidth;
    *height = header->biHeight;
    return true;
}
