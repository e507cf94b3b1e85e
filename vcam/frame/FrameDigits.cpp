#include "vcam/frame/FrameDigits.h"

#include "vcam/frame/DibRows.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 7;
constexpr int BoxMargin = 3;

// 5x7 glyphs of 0..9, one byte per row, bit 4 = leftmost pixel.
constexpr BYTE Glyphs[10][GlyphHeight] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

struct Canvas
{
    const FrameLayout& layout;
    BYTE* dib;
    LONG rows;

    void Fill(LONG left, LONG top, LONG width, LONG height, BYTE b, BYTE g, BYTE r) const
    {
        const LONG right = left + width < layout.width ? left + width : layout.width;
        const LONG bottom = top + height < rows ? top + height : rows;
        for (LONG y = top < 0 ? 0 : top; y < bottom; ++y)
        {
            BYTE* row = dib + VisualRowOffset(y, rows, layout.stride, layout.height > 0);
            for (LONG x = left < 0 ? 0 : left; x < right; ++x)
            {
                row[3 * x] = b;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
            }
        }
    }
};

int ToDigits(uint32_t number, int* digits)
{
    int count = 0;
    do
    {
        digits[count++] = static_cast<int>(number % 10);
        number /= 10;
    } while (number != 0);
    return count;  // least significant first
}

void DrawGlyph(const Canvas& canvas, int digit, LONG left, LONG top, LONG scale)
{
    for (int gy = 0; gy < GlyphHeight; ++gy)
        for (int gx = 0; gx < GlyphWidth; ++gx)
            if (Glyphs[digit][gy] & (0x10 >> gx))
                canvas.Fill(left + gx * scale, top + gy * scale, scale, scale, 0xC8, 0xF0, 0xFF);
}

}  // namespace

void DrawFrameDigits(const FrameLayout& layout, BYTE* dib, uint32_t number)
{
    const LONG rows = LayoutRows(layout.height);
    if (!dib || layout.width <= 0 || layout.stride < 3LL * layout.width)
        return;
    const Canvas canvas{layout, dib, rows};
    const LONG scale = layout.width >= 960 ? 4 : (layout.width >= 480 ? 3 : 2);
    const LONG advance = (GlyphWidth + 1) * scale;
    int digits[10];
    const int count = ToDigits(number, digits);
    const LONG left = BoxMargin + 2;
    const LONG top = FrameStampCellSize * 2;
    canvas.Fill(left - BoxMargin, top - BoxMargin, count * advance - scale + 2 * BoxMargin,
                GlyphHeight * scale + 2 * BoxMargin, 0x10, 0x08, 0x04);
    for (int i = 0; i < count; ++i)
        DrawGlyph(canvas, digits[count - 1 - i], left + i * advance, top, scale);
}
