// YUV test frames made in the tests: the eight 100% colour bars in BT.601 limited range
// with the virtual camera's frame stamp in the top rows, in any of the codec's layouts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "decoders/YuvToRgb.h"

namespace testframes
{

struct YCbCr
{
    BYTE y, cb, cr;
};

constexpr int kBarCount = 8;
// White, yellow, cyan, green, magenta, red, blue, black.
extern const YCbCr kBars[kBarCount];
extern const decoders::Rgb kBarsRgb[kBarCount];

// The bar under column x; bars are equally wide, left to right.
int BarAt(LONG x, LONG width);

// A frame whose pixel (x, y), counted from the top, has the given value; chroma is
// taken from the even pixel of each pair (and for 4:2:0 from the even row).
std::vector<BYTE> MakeFrame(decoders::YuvLayout layout, LONG width, LONG height,
                            const std::function<YCbCr(LONG x, LONG y)>& pixel);

// The bars, stamped with `number` in the top rows (width at least 320).
std::vector<BYTE> MakeBarsFrame(decoders::YuvLayout layout, LONG width, LONG height, uint32_t number);

// A bitmap header as codecs are given one; `bytes` 0 leaves biSizeImage unset.
BITMAPINFOHEADER BitmapHeader(DWORD compression, LONG width, LONG height, WORD bitCount, size_t bytes = 0);

// A column in the middle of bar i, and a row below the stamp, for checking colours.
LONG BarMiddle(int bar, LONG width);
constexpr LONG kBelowStamp = 24;

}  // namespace testframes
