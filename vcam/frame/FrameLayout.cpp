#include "vcam/frame/FrameLayout.h"

#include <climits>

LONG Rgb24Stride(LONG width)
{
    if (width <= 0 || width > (LONG_MAX - 3) / 3)
        return 0;
    return (width * 3 + 3) & ~3;
}

FrameLayout Rgb24Layout(LONG width, LONG height)
{
    return FrameLayout{width, height, Rgb24Stride(width)};
}
