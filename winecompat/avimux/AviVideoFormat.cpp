#include "AviVideoFormat.h"

namespace
{

constexpr LONGLONG kUnitsPerSecond = 10000000;
constexpr REFERENCE_TIME kDefaultFrameDuration = 333333;  // 30 fps

LONGLONG Gcd(LONGLONG a, LONGLONG b)
{
    while (b)
    {
        LONGLONG r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// A duration rounded to 100 ns from rate/scale lies within one unit of the exact value.
bool CloseTo(REFERENCE_TIME duration, LONGLONG rate, LONGLONG scale)
{
    LONGLONG error = duration * rate - kUnitsPerSecond * scale;
    return error >= -rate && error <= rate;
}

}  // namespace

REFERENCE_TIME EffectiveFrameDuration(REFERENCE_TIME connected)
{
    // Below 1 ms or above 1 hour per frame the connection's figure is not a frame rate.
    if (connected < 10000 || connected > 3600 * kUnitsPerSecond)
        return kDefaultFrameDuration;
    return connected;
}

void AviRateOf(REFERENCE_TIME frameDuration, DWORD* rate, DWORD* scale)
{
    const REFERENCE_TIME duration = EffectiveFrameDuration(frameDuration);
    const LONGLONG whole = (kUnitsPerSecond + duration / 2) / duration;
    if (whole > 0 && CloseTo(duration, whole, 1))
    {
        *rate = static_cast<DWORD>(whole);
        *scale = 1;
        return;
    }
    const LONGLONG ntsc = (kUnitsPerSecond * 1001 / 1000 + duration / 2) / duration;
    if (ntsc > 0 && CloseTo(duration, ntsc * 1000, 1001))
    {
        *rate = static_cast<DWORD>(ntsc * 1000);
        *scale = 1001;
        return;
    }
    // Exact when the reduced scale fits 32 bits (any duration up to 429 s); else the
    // nearest ratio with a scale that does.
    const LONGLONG divisor = Gcd(kUnitsPerSecond, duration);
    LONGLONG exactRate = kUnitsPerSecond / divisor, exactScale = duration / divisor;
    const LONGLONG shrink = (exactScale + MAXDWORD - 1) / MAXDWORD;
    if (shrink > 1)
    {
        exactRate = (exactRate + shrink / 2) / shrink;
        exactScale = exactScale / shrink;
    }
    *rate = static_cast<DWORD>(exactRate > 0 ? exactRate : 1);
    *scale = static_cast<DWORD>(exactScale);
}

DWORD FramesPerSecondOf(REFERENCE_TIME frameDuration)
{
    const REFERENCE_TIME duration = EffectiveFrameDuration(frameDuration);
    LONGLONG frames = kUnitsPerSecond / duration;
    return frames > 0 ? static_cast<DWORD>(frames) : 1;
}
