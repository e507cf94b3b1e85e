#include "vcam/frame/ColourBars.h"

#include <cstddef>
#include <cstring>

#include "vcam/frame/DibRows.h"

BarColour ColourBar(int index)
{
    // Bit 2 red, bit 1 green, bit 0 blue, in the classic order white..black.
    static const int bits[ColourBarCount] = {7, 6, 3, 2, 5, 4, 1, 0};
    const int bit = bits[index % ColourBarCount];
    const auto level = [&](int mask) { return static_cast<BYTE>(bit & mask ? ColourBarLevel : 0); };
    return BarColour{level(4), level(2), level(1)};
}

void DrawColourBars(const FrameLayout& layout, BYTE* dib)
{
    const LONG rows = LayoutRows(layout.height);
    if (!dib || layout.width <= 0)
        return;
    BYTE* first = dib;  // every row is the same: draw one, copy it
    for (LONG x = 0; x < layout.width; ++x)
    {
        const BarColour colour = ColourBar(static_cast<int>(static_cast<LONGLONG>(x) * ColourBarCount / layout.width));
        first[3 * x] = colour.b;
        first[3 * x + 1] = colour.g;
        first[3 * x + 2] = colour.r;
    }
    for (LONG y = 1; y < rows; ++y)
        memcpy(dib + static_cast<ptrdiff_t>(y) * layout.stride, first, static_cast<size_t>(layout.width) * 3);
}
