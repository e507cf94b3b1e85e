#include "decoders/YuvToRgb.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace decoders
{

namespace
{

// Chroma is carried scaled by 8 (2 for the horizontal and 4 for the vertical
// interpolation), so that the interpolations need no rounding of their own.
constexpr int ChromaScale = 8;
constexpr int ChromaShift = 3;
constexpr int Shift = 8 + ChromaShift;  // the coefficients are in 1/256
constexpr int Round = 1 << (Shift - 1);

// BT.601 limited range in 1/256: 255/219 for luma; 1.402, 0.714, 0.344, 1.772 times
// 255/224 for chroma.
constexpr int KY = 298, KRV = 409, KGU = 100, KGV = 208, KBU = 516;

inline BYTE Clamp(int value)
{
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

// One row's chroma at half width, scaled by ChromaScale/2: U and V of pair j, and
// one entry more, the last repeated, for the odd pixel at the end.
struct HalfChroma
{
    std::vector<int> u, v;
};

// The packed row's own chroma (4:2:2 shares nothing between rows).
void PackedChroma(const BYTE* row, LONG pairs, int uAt, int vAt, HalfChroma* half)
{
    for (LONG j = 0; j < pairs; ++j)
    {
        half->u[j] = row[4 * j + uAt] * (ChromaScale / 2);
        half->v[j] = row[4 * j + vAt] * (ChromaScale / 2);
    }
}

// 4:2:0: chroma row k sits between luma rows 2k and 2k+1, so a row takes 3/4 of its
// own chroma row and 1/4 of the next one up (even rows) or down (odd rows).
void PlanarChroma(const BYTE* u0, const BYTE* u1, const BYTE* v0, const BYTE* v1, LONG pairs, LONG step,
                  HalfChroma* half)
{
    for (LONG j = 0; j < pairs; ++j)
    {
        half->u[j] = 3 * u0[j * step] + u1[j * step];
        half->v[j] = 3 * v0[j * step] + v1[j * step];
    }
}

struct Planes
{
    const BYTE* y;
    LONG yStep;  // bytes from one luma sample to the next
    int yAt;     // offset of the first luma sample in a packed pair
};

void ChromaForRow(const YuvFrame& in, LONG row, HalfChroma* half)
{
    const LONG pairs = in.width / 2;
    const BYTE* base = in.data;
    switch (in.layout)
    {
    case YuvLayout::Yuy2:
        return PackedChroma(base + static_cast<size_t>(row) * in.width * 2, pairs, 1, 3, half);
    case YuvLayout::Uyvy:
        return PackedChroma(base + static_cast<size_t>(row) * in.width * 2, pairs, 0, 2, half);
    case YuvLayout::Yvyu:
        return PackedChroma(base + static_cast<size_t>(row) * in.width * 2, pairs, 3, 1, half);
    default:
        break;
    }
    const LONG chromaRows = in.height / 2;
    const LONG k = row / 2;
    const LONG other = std::clamp<LONG>(row % 2 == 0 ? k - 1 : k + 1, 0, chromaRows - 1);
    const size_t lumaBytes = static_cast<size_t>(in.width) * in.height;
    if (in.layout == YuvLayout::I420)
    {
        const BYTE* u = base + lumaBytes;
        const BYTE* v = u + lumaBytes / 4;
        return PlanarChroma(u + static_cast<size_t>(k) * pairs, u + static_cast<size_t>(other) * pairs,
                            v + static_cast<size_t>(k) * pairs, v + static_cast<size_t>(other) * pairs, pairs,
                            1, half);
    }
    const BYTE* uv = base + lumaBytes;
    const BYTE* own = uv + static_cast<size_t>(k) * in.width;
    const BYTE* next = uv + static_cast<size_t>(other) * in.width;
    PlanarChroma(own, next, own + 1, next + 1, pairs, 2, half);
}

Planes LumaForRow(const YuvFrame& in, LONG row)
{
    if (IsPlanar(in.layout))
        return {in.data + static_cast<size_t>(row) * in.width, 1, 0};
    const int at = in.layout == YuvLayout::Uyvy ? 1 : 0;
    return {in.data + static_cast<size_t>(row) * in.width * 2, 2, at};
}

template <int BytesPerPixel>
inline void PutPixel(int luma, int u, int v, BYTE* px)
{
    const int c = KY * (luma - 16) * ChromaScale + Round;
    px[0] = Clamp((c + KBU * u) >> Shift);
    px[1] = Clamp((c - KGU * u - KGV * v) >> Shift);
    px[2] = Clamp((c + KRV * v) >> Shift);
    if constexpr (BytesPerPixel == 4)
        px[3] = 0;
}

// A pair at a time: the even pixel has its own chroma, the odd one the mean of the
// chroma beside it (the half rows carry one more entry, the last repeated).
template <int BytesPerPixel, int LumaStep>
void WriteRow(const BYTE* y, const HalfChroma& half, LONG pairs, BYTE* out)
{
    constexpr int Neutral = 128 * ChromaScale;
    const int* u = half.u.data();
    const int* v = half.v.data();
    for (LONG j = 0; j < pairs; ++j)
    {
        PutPixel<BytesPerPixel>(y[2 * j * LumaStep], 2 * u[j] - Neutral, 2 * v[j] - Neutral, out);
        PutPixel<BytesPerPixel>(y[(2 * j + 1) * LumaStep], u[j] + u[j + 1] - Neutral,
                                v[j] + v[j + 1] - Neutral, out + BytesPerPixel);
        out += 2 * BytesPerPixel;
    }
}

void WriteRow(const Planes& luma, const HalfChroma& half, LONG width, WORD bitCount, BYTE* out)
{
    const BYTE* y = luma.y + luma.yAt;
    const LONG pairs = width / 2;
    if (bitCount == 24)
        return luma.yStep == 1 ? WriteRow<3, 1>(y, half, pairs, out) : WriteRow<3, 2>(y, half, pairs, out);
    return luma.yStep == 1 ? WriteRow<4, 1>(y, half, pairs, out) : WriteRow<4, 2>(y, half, pairs, out);
}

size_t Stride(LONG width, WORD bitCount)
{
    return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}

}  // namespace

Rgb Bt601ToRgb(int y, int cb, int cr)
{
    const int c = KY * (y - 16) * ChromaScale + Round;
    const int u = (cb - 128) * ChromaScale;
    const int v = (cr - 128) * ChromaScale;
    return {Clamp((c + KRV * v) >> Shift), Clamp((c - KGU * u - KGV * v) >> Shift),
            Clamp((c + KBU * u) >> Shift)};
}

size_t RgbFrameBytes(LONG width, LONG height, WORD bitCount)
{
    if (width <= 0 || height == 0 || (bitCount != 24 && bitCount != 32))
        return 0;
    return Stride(width, bitCount) *
           static_cast<size_t>(height < 0 ? -static_cast<LONGLONG>(height) : height);
}

bool ConvertToRgb(const YuvFrame& in, const RgbTarget& out)
{
    const LONG rows = out.height < 0 ? -out.height : out.height;
    const size_t inBytes = YuvFrameBytes(in.layout, in.width, in.height);
    const size_t outBytes = RgbFrameBytes(out.width, out.height, out.bitCount);
    if (!in.data || !out.data || inBytes == 0 || outBytes == 0 || in.bytes < inBytes ||
        out.bytes < outBytes || in.width != out.width || in.height != rows)
        return false;
    const size_t stride = Stride(out.width, out.bitCount);
    HalfChroma half;
    const LONG pairs = in.width / 2;
    half.u.resize(pairs + 1);
    half.v.resize(pairs + 1);
    for (LONG row = 0; row < rows; ++row)
    {
        ChromaForRow(in, row, &half);
        half.u[pairs] = half.u[pairs - 1];
        half.v[pairs] = half.v[pairs - 1];
        const LONG stored = out.height > 0 ? rows - 1 - row : row;
        WriteRow(LumaForRow(in, row), half, in.width, out.bitCount, out.data + stride * stored);
    }
    return true;
}

}  // namespace decoders
