// What the YUV codec takes and gives, in the terms of a VfW decompressor: an input
// BITMAPINFOHEADER naming one of our YUV FOURCCs, an output that is an RGB24 or RGB32
// DIB of the same size, upright (positive height) or top-down.
#pragma once

#include <windows.h>

#include "decoders/YuvToRgb.h"

namespace decoders
{

// The input's layout when the header is one we decode.
bool AcceptInput(const BITMAPINFOHEADER* in, YuvLayout* layout);
// Whether `out` (null: any output) is one we can write from `in`.
bool AcceptConversion(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);
// The output offered first: an upright RGB24 DIB of the input's size.
void DefaultOutput(const BITMAPINFOHEADER& in, BITMAPINFOHEADER* out);

// The frame described by a header and its bits; the header's biSizeImage, when set,
// bounds what the bits hold.
YuvFrame FrameOf(const BITMAPINFOHEADER& in, const void* bits, YuvLayout layout);
RgbTarget TargetOf(const BITMAPINFOHEADER& out, void* bits);

}  // namespace decoders
