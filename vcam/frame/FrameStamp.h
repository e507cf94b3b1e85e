// The machine-readable frame number in the visual top-left corner of every frame.
//
// One row of 8x8-pixel cells starting at the top-left pixel, black = 0, white = 1:
//   4 marker cells (white, black, white, black),
//   32 data cells (the frame number, most significant bit first),
//   4 check cells (the XOR of the number's eight nibbles, inverted).
// 40 cells = 320 pixels: narrower frames carry no stamp. Decoders sample the middle of
// each cell and reject anything not clearly black or white, a wrong marker or check.
#pragma once

#include <windows.h>
#include <cstdint>

#include "vcam/frame/FrameLayout.h"

constexpr LONG FrameStampCellSize = 8;
constexpr LONG FrameStampCells = 40;
constexpr LONG FrameStampMinWidth = FrameStampCellSize * FrameStampCells;  // 320
constexpr LONG FrameStampMinHeight = FrameStampCellSize;

// Draws the stamp into a frame of the given layout; does nothing when it does not fit.
void DrawFrameStamp(const FrameLayout& layout, BYTE* dib, uint32_t number);

// DIB layout as in a BMP file or a sample grabber buffer: rows padded to 4 bytes,
// bottom-up when height > 0, top-down when height < 0.
bool ReadFrameNumberFromDib(const BYTE* dib, LONG width, LONG height, uint32_t* number);

// Top-down BGR24 rows of `stride` bytes each (packed rows: stride = 3 * width), as
// `ffmpeg -f rawvideo -pix_fmt bgr24` writes them.
bool ReadFrameNumberTopDown(const BYTE* bgr, LONG width, LONG height, LONG stride, uint32_t* number);

// The stamp in a top-down luma plane (limited range reads as well as full): `luma` is
// the first pixel's Y, `step` the bytes from one Y to the next (1 planar, 2 for YUY2
// and UYVY, whose first Y is at byte 0 and 1).
bool ReadFrameNumberFromLuma(const BYTE* luma, LONG width, LONG height, LONG stride, LONG step, uint32_t* number);
