#include "YuvBars.h"

#include "vcam/frame/FrameStamp.h"

namespace testframes
{

using decoders::YuvLayout;

const YCbCr kBars[kBarCount] = {{235, 128, 128}, {210, 16, 146}, {170, 166, 16}, {145, 54, 34},
                                {106, 202, 222}, {81, 90, 240},  {41, 240, 110}, {16, 128, 128}};
const decoders::Rgb kBarsRgb[kBarCount] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                           {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};

int BarAt(LONG x, LONG width)
{
    return static_cast<int>(static_cast<long long>(x) * kBarCount / width);
}

LONG BarMiddle(int bar, LONG width)
{
    return static_cast<LONG>((2LL * bar + 1) * width / (2 * kBarCount));
}

BITMAPINFOHEADER BitmapHeader(DWORD compression, LONG width, LONG height, WORD bitCount, size_t bytes)
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = compression;
    h.biSizeImage = static_cast<DWORD>(bytes);
    return h;
}

namespace
{

void PackPair(YuvLayout layout, const YCbCr& even, const YCbCr& odd, BYTE* out)
{
    switch (layout)
    {
    case YuvLayout::Uyvy:
        out[0] = even.cb, out[1] = even.y, out[2] = even.cr, out[3] = odd.y;
        break;
    case YuvLayout::Yvyu:
        out[0] = even.y, out[1] = even.cr, out[2] = odd.y, out[3] = even.cb;
        break;
    default:
        out[0] = even.y, out[1] = even.cb, out[2] = odd.y, out[3] = even.cr;
        break;
    }
}

}  // namespace

std::vector<BYTE> MakeFrame(YuvLayout layout, LONG width, LONG height,
                            const std::function<YCbCr(LONG x, LONG y)>& pixel)
{
    std::vector<BYTE> frame(decoders::YuvFrameBytes(layout, width, height));
    const size_t luma = static_cast<size_t>(width) * height;
    for (LONG y = 0; y < height; ++y)
    {
        for (LONG x = 0; x < width; x += 2)
        {
            const YCbCr even = pixel(x, y), odd = pixel(x + 1, y);
            if (!decoders::IsPlanar(layout))
            {
                PackPair(layout, even, odd, &frame[(static_cast<size_t>(y) * width + x) * 2]);
                continue;
            }
            frame[static_cast<size_t>(y) * width + x] = even.y;
            frame[static_cast<size_t>(y) * width + x + 1] = odd.y;
            if (y % 2 != 0)
                continue;
            const size_t chroma = static_cast<size_t>(y / 2) * (width / 2) + x / 2;
            if (layout == YuvLayout::I420)
            {
                frame[luma + chroma] = even.cb;
                frame[luma + luma / 4 + chroma] = even.cr;
            }
            else
            {
                frame[luma + 2 * chroma] = even.cb;
                frame[luma + 2 * chroma + 1] = even.cr;
            }
        }
    }
    return frame;
}

std::vector<BYTE> MakeBarsFrame(YuvLayout layout, LONG width, LONG height, uint32_t number)
{
    // The stamp drawn as the camera draws it, then carried over as black and white.
    const FrameLayout stampLayout = Rgb24Layout(width, -FrameStampCellSize);
    std::vector<BYTE> stamp(static_cast<size_t>(stampLayout.stride) * FrameStampCellSize);
    DrawFrameStamp(stampLayout, stamp.data(), number);
    return MakeFrame(layout, width, height, [&](LONG x, LONG y) {
        if (y < FrameStampCellSize)
            return stamp[static_cast<size_t>(y) * stampLayout.stride + 3 * x] ? YCbCr{235, 128, 128}
                                                                              : YCbCr{16, 128, 128};
        return kBars[BarAt(x, width)];
    });
}

}  // namespace testframes
