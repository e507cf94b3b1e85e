// The layout of a still: a 14-byte file header, a 40-byte info header (no colour
// table), then the grabbed RGB24 frame exactly as the grabber delivered it.
#pragma once

#include <windows.h>

static_assert(sizeof(BITMAPFILEHEADER) == 14, "BMP file header must be packed");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BMP info header size");

constexpr DWORD kStillHeadersSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);

// The info header of a 24-bit still; height as the connected format states it
// (negative: top-down rows).
BITMAPINFOHEADER MakeStillInfoHeader(LONG width, LONG height);

// The file header for `pixelBytes` bytes of pixel data.
BITMAPFILEHEADER MakeStillFileHeader(DWORD pixelBytes);

// Bytes in one stored row of a 24-bit DIB: three per pixel, padded to 4.
LONG Rgb24RowBytes(LONG width);

// Bytes of pixel data that an info header describes (0 for a nonsensical one).
SIZE_T DibPixelBytes(const BITMAPINFOHEADER& info);
