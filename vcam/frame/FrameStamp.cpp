#include "vcam/frame/FrameStamp.h"

#include <cstddef>

#include "vcam/frame/DibRows.h"

namespace
{

constexpr int MarkerCells = 4;
constexpr int DataCells = 32;
constexpr int CheckCells = 4;
static_assert(MarkerCells + DataCells + CheckCells == FrameStampCells, "stamp cell count");

// Below and above these mean levels a cell counts as black or white; in between it is
// unreadable, so a stamp blurred or painted over is rejected rather than misread.
constexpr int BlackBelow = 80;
constexpr int WhiteAbove = 175;

unsigned CheckValue(uint32_t number)
{
    unsigned folded = 0;
    for (int nibble = 0; nibble < 8; ++nibble)
        folded ^= (number >> (4 * nibble)) & 0xF;
    return ~folded & 0xF;
}

// Cell values in drawing order: marker, data (MSB first), check (MSB first).
bool CellBit(uint32_t number, int cell)
{
    if (cell < MarkerCells)
        return cell % 2 == 0;
    cell -= MarkerCells;
    if (cell < DataCells)
        return (number >> (DataCells - 1 - cell)) & 1;
    cell -= DataCells;
    return (CheckValue(number) >> (CheckCells - 1 - cell)) & 1;
}

// Where the visual row y of an image starts, whichever way its rows are stored.
struct RowAccess
{
    const BYTE* base;
    LONG rows;
    LONG stride;
    bool bottomUp;
    LONG step = 3;      // bytes from one pixel to the next
    int channels = 3;   // bytes averaged at each pixel

    const BYTE* Row(LONG y) const { return base + VisualRowOffset(y, rows, stride, bottomUp); }
};

// Mean level of the middle 4x4 pixels of a cell: -1 unreadable, 0 black, 1 white.
int ReadCell(const RowAccess& image, int cell)
{
    const LONG x0 = cell * FrameStampCellSize + 2;
    int sum = 0;
    for (LONG y = 2; y < 6; ++y)
    {
        const BYTE* px = image.Row(y) + static_cast<ptrdiff_t>(x0) * image.step;
        for (int i = 0; i < 4; ++i, px += image.step)
            for (int c = 0; c < image.channels; ++c)
                sum += px[c];
    }
    const int mean = sum / (4 * 4 * image.channels);
    if (mean < BlackBelow)
        return 0;
    if (mean > WhiteAbove)
        return 1;
    return -1;
}

bool ReadStamp(const RowAccess& image, uint32_t* number)
{
    uint32_t value = 0;
    unsigned check = 0;
    for (int cell = 0; cell < FrameStampCells; ++cell)
    {
        const int bit = ReadCell(image, cell);
        if (bit < 0)
            return false;
        if (cell < MarkerCells)
        {
            if (bit != (cell % 2 == 0 ? 1 : 0))
                return false;
        }
        else if (cell < MarkerCells + DataCells)
        {
            value = (value << 1) | static_cast<uint32_t>(bit);
        }
        else
        {
            check = (check << 1) | static_cast<unsigned>(bit);
        }
    }
    if (check != CheckValue(value))
        return false;
    *number = value;
    return true;
}

bool StampFits(LONG width, LONG rows, LONG stride)
{
    return width >= FrameStampMinWidth && rows >= FrameStampMinHeight &&
           static_cast<long long>(stride) >= 3LL * width;
}

}  // namespace

void DrawFrameStamp(const FrameLayout& layout, BYTE* dib, uint32_t number)
{
    const LONG rows = LayoutRows(layout.height);
    if (!dib || !StampFits(layout.width, rows, layout.stride))
        return;
    for (LONG y = 0; y < FrameStampCellSize; ++y)
    {
        BYTE* px = dib + VisualRowOffset(y, rows, layout.stride, layout.height > 0);
        for (int cell = 0; cell < FrameStampCells; ++cell)
        {
            const BYTE level = CellBit(number, cell) ? 255 : 0;
            for (int i = 0; i < FrameStampCellSize * 3; ++i)
                *px++ = level;
        }
    }
}

bool ReadFrameNumberFromDib(const BYTE* dib, LONG width, LONG height, uint32_t* number)
{
    const LONG rows = LayoutRows(height);
    const LONG stride = Rgb24Stride(width);
    if (!dib || !number || !StampFits(width, rows, stride))
        return false;
    return ReadStamp(RowAccess{dib, rows, stride, height > 0}, number);
}

bool ReadFrameNumberTopDown(const BYTE* bgr, LONG width, LONG height, LONG stride, uint32_t* number)
{
    if (!bgr || !number || !StampFits(width, height, stride))
        return false;
    return ReadStamp(RowAccess{bgr, height, stride, false}, number);
}

bool ReadFrameNumberFromLuma(const BYTE* luma, LONG width, LONG height, LONG stride, LONG step, uint32_t* number)
{
    if (!luma || !number || width < FrameStampMinWidth || height < FrameStampMinHeight || step <= 0 ||
        static_cast<long long>(stride) < static_cast<long long>(step) * (width - 1) + 1)
        return false;
    return ReadStamp(RowAccess{luma, height, stride, false, step, 1}, number);
}
