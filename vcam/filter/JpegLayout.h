// Where the parts of a baseline JPEG lie (one interleaved scan, no restart markers, as
// WIC's encoder writes it), and the markers that join such pictures into one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

struct JpegLayout
{
    size_t heightAt = 0;  // SOF0's 16-bit picture height
    size_t scanAt = 0;    // the SOS marker
    size_t dataAt = 0;    // the entropy-coded data, after the scan header
    size_t dataEnd = 0;   // the EOI marker that ends the file
    LONG mcuWidth = 0;    // pixels
    LONG mcuHeight = 0;
};

// False for anything else: progressive or other SOFs, restart markers, no EOI at the end.
bool ReadJpegLayout(const BYTE* jpeg, size_t bytes, JpegLayout* layout);

// True when two such pictures share every header byte but SOF's height: the same
// tables, sampling and scan, so that their entropy-coded data can follow one header.
bool SameJpegHeader(const BYTE* a, const JpegLayout& layoutA, const BYTE* b, const JpegLayout& layoutB);

// Appends the header of `reference` with the picture height set to `height` and a
// restart interval of `mcusPerInterval` MCUs (DRI) before its scan.
void AppendStitchedHeader(const BYTE* reference, const JpegLayout& layout, LONG height, unsigned mcusPerInterval,
                          std::vector<BYTE>* out);

// The marker that ends restart interval `index` (RST0..RST7, cycling).
inline BYTE RestartMarker(size_t index)
{
    return static_cast<BYTE>(0xD0 + (index & 7));
}
