// Finding the stored row behind a visual row, for bottom-up and top-down images.
#pragma once

#include <windows.h>
#include <cstddef>

inline LONG LayoutRows(LONG signedHeight)
{
    return signedHeight < 0 ? -signedHeight : signedHeight;
}

// Byte offset of visual row y (0 = top) in an image of `rows` rows of `stride` bytes.
inline ptrdiff_t VisualRowOffset(LONG y, LONG rows, LONG stride, bool bottomUp)
{
    const LONG stored = bottomUp ? rows - 1 - y : y;
    return static_cast<ptrdiff_t>(stored) * stride;
}
