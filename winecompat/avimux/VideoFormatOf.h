// What the mux takes from a connection's media type: video described by a
// BITMAPINFOHEADER, in a VIDEOINFOHEADER or a VIDEOINFOHEADER2 block.
#pragma once

#include <strmif.h>

#include "AviVideoFormat.h"

// The largest frame the mux takes: a chunk with room for a segment's start beside it.
constexpr DWORD kLargestFrameBytes = 1000u << 20;

// VFW_E_TYPE_NOT_ACCEPTED for anything the mux cannot describe in an AVI header or index.
HRESULT VideoFormatOf(const AM_MEDIA_TYPE& type, AviVideoFormat* format);

// biSizeImage, or when it is 0 the size of uncompressed rows padded to 4 bytes (24-bit
// rows for a compressed format, a bound on its frames).
DWORD ConnectedFrameBytes(const BITMAPINFOHEADER& header);
