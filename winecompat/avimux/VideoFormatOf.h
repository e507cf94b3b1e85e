// What the mux takes from a connection's media type: video described by a
// BITMAPINFOHEADER, in a VIDEOINFOHEADER or a VIDEOINFOHEADER2 block.
#pragma once

#include <strmif.h>

#include "AviVideoFormat.h"

// VFW_E_TYPE_NOT_ACCEPTED for anything the mux cannot describe in an AVI header.
HRESULT VideoFormatOf(const AM_MEDIA_TYPE& type, AviVideoFormat* format);

// biSizeImage, or the size of uncompressed rows padded to 4 bytes when it is 0.
DWORD ConnectedFrameBytes(const BITMAPINFOHEADER& header);
