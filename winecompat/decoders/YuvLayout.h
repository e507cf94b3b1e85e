// The YUV layouts the codec decodes, as cameras and DirectShow lay them out: rows top
// down without padding; 4:2:2 packed in pairs of pixels, 4:2:0 in planes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace decoders
{

enum class YuvLayout
{
    Yuy2,  // Y0 U Y1 V
    Uyvy,  // U Y0 V Y1
    Yvyu,  // Y0 V Y1 U
    I420,  // Y plane, U plane, V plane (IYUV is the same)
    Nv12,  // Y plane, one plane of U V pairs
};

// The layout a FOURCC (biCompression, or a subtype's first field) names; false for others.
bool LayoutOfFourcc(DWORD fourcc, YuvLayout* layout);

bool IsPlanar(YuvLayout layout);

// Bytes of one frame; 0 when the size cannot be laid out (odd sizes where chroma is
// shared between pixel pairs or rows, or no pixels at all).
size_t YuvFrameBytes(YuvLayout layout, LONG width, LONG height);

}  // namespace decoders
