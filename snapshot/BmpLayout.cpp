#include "snapshot/BmpLayout.h"

#include <cstdlib>

BITMAPINFOHEADER MakeStillInfoHeader(LONG width, LONG height)
{
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(BITMAPINFOHEADER);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    return info;
}

BITMAPFILEHEADER MakeStillFileHeader(DWORD pixelBytes)
{
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = kStillHeadersSize + pixelBytes;
    file.bfOffBits = kStillHeadersSize;
    return file;
}

LONG Rgb24RowBytes(LONG width)
{
    return ((width * 3) + 3) & ~3L;
}

SIZE_T DibPixelBytes(const BITMAPINFOHEADER& info)
{
    if (info.biWidth <= 0 || info.biWidth > 0x10000 || info.biHeight == 0 ||
        std::labs(info.biHeight) > 0x10000)
        return 0;
    return static_cast<SIZE_T>(Rgb24RowBytes(info.biWidth)) * static_cast<SIZE_T>(std::labs(info.biHeight));
}
