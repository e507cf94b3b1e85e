// The camera's YUV pictures, made from its RGB24 picture with BT.601 limited-range
// arithmetic (Y 16..235, Cb/Cr 16..240 around 128), as USB cameras deliver them:
//   YUY2  packed 4:2:2, Y0 U Y1 V        UYVY  packed 4:2:2, U Y0 V Y1
//   I420  planar 4:2:0, Y then U then V  NV12  planar 4:2:0, Y then interleaved U V
// Rows top-down and packed (no padding). 4:2:2 chroma is the mean of a pixel pair,
// 4:2:0 chroma the mean of a 2x2 block. Width and height must be even.
#pragma once

#include <windows.h>

#include "vcam/frame/FrameLayout.h"

enum class YuvPacking
{
    Yuy2,
    Uyvy,
    I420,
    Nv12
};

// Bytes of one picture of this size.
LONG YuvImageSize(YuvPacking packing, LONG width, LONG height);

// Converts an RGB24 DIB (either row order) into `out`, which holds YuvImageSize bytes.
void PackYuv(YuvPacking packing, const FrameLayout& layout, const BYTE* rgb, BYTE* out);

// The limited-range values of one RGB colour, rounded as PackYuv rounds them.
struct YuvColour
{
    BYTE y, u, v;
};
YuvColour Bt601(BYTE r, BYTE g, BYTE b);
