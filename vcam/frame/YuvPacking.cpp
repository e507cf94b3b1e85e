#include "vcam/frame/YuvPacking.h"

#include <cstddef>

#include "vcam/frame/DibRows.h"

namespace
{

// Fixed-point BT.601 limited range in 1/256 steps, rounded to the nearest step. Chroma
// takes the sums of 1 << shift pixels, so its mean costs no division.
int Rounded(int weighted, int shift)
{
    const int scale = 8 + shift;
    return (weighted + (1 << (scale - 1))) >> scale;  // arithmetic shift: floors negatives too
}

BYTE Luma(int r, int g, int b)
{
    return static_cast<BYTE>(16 + Rounded(66 * r + 129 * g + 25 * b, 0));
}

BYTE ChromaU(int r, int g, int b, int shift)
{
    return static_cast<BYTE>(128 + Rounded(-38 * r - 74 * g + 112 * b, shift));
}

BYTE ChromaV(int r, int g, int b, int shift)
{
    return static_cast<BYTE>(128 + Rounded(112 * r - 94 * g - 18 * b, shift));
}

// Visual row y of the source, left pixel first (B, G, R).
const BYTE* SourceRow(const FrameLayout& layout, const BYTE* rgb, LONG y)
{
    return rgb + VisualRowOffset(y, LayoutRows(layout.height), layout.stride, layout.height > 0);
}

void PackYuv422(const FrameLayout& layout, const BYTE* rgb, BYTE* out, bool uyvy)
{
    const int y0 = uyvy ? 1 : 0, u = uyvy ? 0 : 1, y1 = uyvy ? 3 : 2, v = uyvy ? 2 : 3;
    for (LONG y = 0; y < LayoutRows(layout.height); ++y)
    {
        const BYTE* px = SourceRow(layout, rgb, y);
        for (LONG x = 0; x < layout.width; x += 2, px += 6, out += 4)
        {
            const int b = px[0] + px[3], g = px[1] + px[4], r = px[2] + px[5];
            out[y0] = Luma(px[2], px[1], px[0]);
            out[y1] = Luma(px[5], px[4], px[3]);
            out[u] = ChromaU(r, g, b, 1);
            out[v] = ChromaV(r, g, b, 1);
        }
    }
}

void PackYuv420(const FrameLayout& layout, const BYTE* rgb, BYTE* out, bool nv12)
{
    const LONG width = layout.width, rows = LayoutRows(layout.height);
    BYTE* luma = out;
    BYTE* chroma = out + static_cast<ptrdiff_t>(width) * rows;
    const ptrdiff_t plane = static_cast<ptrdiff_t>(width / 2) * (rows / 2);
    for (LONG y = 0; y < rows; y += 2)
    {
        const BYTE* top = SourceRow(layout, rgb, y);
        const BYTE* bottom = SourceRow(layout, rgb, y + 1);
        BYTE* lumaTop = luma + static_cast<ptrdiff_t>(y) * width;
        BYTE* lumaBottom = lumaTop + width;
        for (LONG x = 0; x < width; x += 2)
        {
            const BYTE* p[4] = {top + 3 * x, top + 3 * x + 3, bottom + 3 * x, bottom + 3 * x + 3};
            int b = 0, g = 0, r = 0;
            for (const BYTE* q : p)
                b += q[0], g += q[1], r += q[2];
            lumaTop[x] = Luma(p[0][2], p[0][1], p[0][0]);
            lumaTop[x + 1] = Luma(p[1][2], p[1][1], p[1][0]);
            lumaBottom[x] = Luma(p[2][2], p[2][1], p[2][0]);
            lumaBottom[x + 1] = Luma(p[3][2], p[3][1], p[3][0]);
            const ptrdiff_t at = static_cast<ptrdiff_t>(y / 2) * (width / 2) + x / 2;
            if (nv12)
            {
                chroma[2 * at] = ChromaU(r, g, b, 2);
                chroma[2 * at + 1] = ChromaV(r, g, b, 2);
            }
            else
            {
                chroma[at] = ChromaU(r, g, b, 2);
                chroma[plane + at] = ChromaV(r, g, b, 2);
            }
        }
    }
}

}  // namespace

LONG YuvImageSize(YuvPacking packing, LONG width, LONG height)
{
    const LONG pixels = width * (height < 0 ? -height : height);
    return packing == YuvPacking::Yuy2 || packing == YuvPacking::Uyvy ? pixels * 2 : pixels * 3 / 2;
}

void PackYuv(YuvPacking packing, const FrameLayout& layout, const BYTE* rgb, BYTE* out)
{
    if (packing == YuvPacking::Yuy2 || packing == YuvPacking::Uyvy)
        PackYuv422(layout, rgb, out, packing == YuvPacking::Uyvy);
    else
        PackYuv420(layout, rgb, out, packing == YuvPacking::Nv12);
}

YuvColour Bt601(BYTE r, BYTE g, BYTE b)
{
    return YuvColour{Luma(r, g, b), ChromaU(r, g, b, 0), ChromaV(r, g, b, 0)};
}
