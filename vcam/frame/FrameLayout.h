// How an RGB24 frame lies in memory, shared by the picture, the stamp and the digits.
#pragma once

#include <windows.h>

struct FrameLayout
{
    LONG width;
    LONG height;  // signed: negative = top-down DIB
    LONG stride;  // bytes per stored row, multiple of 4
};

// Bytes per row of a 24-bit DIB: 3 bytes per pixel, padded to a multiple of 4.
LONG Rgb24Stride(LONG width);

// The layout of a packed RGB24 DIB of the given size (stride = Rgb24Stride(width)).
FrameLayout Rgb24Layout(LONG width, LONG height);
