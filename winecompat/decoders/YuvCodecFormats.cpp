#include "decoders/YuvCodecFormats.h"

namespace decoders
{

namespace
{

size_t BoundedBytes(DWORD declared, size_t needed)
{
    return declared != 0 ? declared : needed;
}

}  // namespace

bool AcceptInput(const BITMAPINFOHEADER* in, YuvLayout* layout)
{
    if (!in || in->biSize < sizeof(BITMAPINFOHEADER) || !LayoutOfFourcc(in->biCompression, layout))
        return false;
    const WORD bits = IsPlanar(*layout) ? 12 : 16;
    return in->biBitCount == bits && YuvFrameBytes(*layout, in->biWidth, in->biHeight) != 0;
}

bool AcceptConversion(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out)
{
    YuvLayout layout;
    if (!AcceptInput(in, &layout))
        return false;
    if (!out)
        return true;
    const LONG rows = out->biHeight < 0 ? -out->biHeight : out->biHeight;
    return out->biSize >= sizeof(BITMAPINFOHEADER) && out->biCompression == BI_RGB &&
           (out->biBitCount == 24 || out->biBitCount == 32) && out->biWidth == in->biWidth &&
           rows == in->biHeight;
}

void DefaultOutput(const BITMAPINFOHEADER& in, BITMAPINFOHEADER* out)
{
    *out = BITMAPINFOHEADER{};
    out->biSize = sizeof(BITMAPINFOHEADER);
    out->biWidth = in.biWidth;
    out->biHeight = in.biHeight;
    out->biPlanes = 1;
    out->biBitCount = 24;
    out->biCompression = BI_RGB;
    out->biSizeImage = static_cast<DWORD>(RgbFrameBytes(in.biWidth, in.biHeight, 24));
}

YuvFrame FrameOf(const BITMAPINFOHEADER& in, const void* bits, YuvLayout layout)
{
    const size_t needed = YuvFrameBytes(layout, in.biWidth, in.biHeight);
    return {layout, static_cast<const BYTE*>(bits), BoundedBytes(in.biSizeImage, needed), in.biWidth,
            in.biHeight};
}

RgbTarget TargetOf(const BITMAPINFOHEADER& out, void* bits)
{
    const size_t needed = RgbFrameBytes(out.biWidth, out.biHeight, out.biBitCount);
    return {static_cast<BYTE*>(bits), BoundedBytes(out.biSizeImage, needed), out.biWidth, out.biHeight,
            out.biBitCount};
}

}  // namespace decoders
