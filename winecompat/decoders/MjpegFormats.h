// The media types of the MJPEG decompressor: MJPG video in (VIDEOINFOHEADER or
// VIDEOINFOHEADER2), upright RGB24 or RGB32 VIDEOINFOHEADER of the same size out.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "comkit/MediaType.h"

namespace decoders
{

// The bitmap header of a video type, read only within its format block; null for
// other types.
const BITMAPINFOHEADER* VideoBitmapHeader(const AM_MEDIA_TYPE& type);

bool IsMjpegInput(const AM_MEDIA_TYPE& type);
// RGB24 first, as the sample grabber and most clients want it.
HRESULT RgbOutputTypes(const AM_MEDIA_TYPE& input, std::vector<comkit::MediaType>* types);
bool IsRgbOutputFor(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output);

}  // namespace decoders
