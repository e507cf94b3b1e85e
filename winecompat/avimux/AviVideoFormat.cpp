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
    const LONGLONG divisor = Gcd(kUnitsPerSecond, duration);
    *rate = static_cast<DWORD>(kUnitsPerSecond / divisor);
    *scale = static_cast<DWORD>(duration / divisor);
}

DWORD FramesPerSecondOf(REFERENCE_TIME frameDuration)
{
    const REFERENCE_TIME duration = EffectiveFrameDuration(frameDuration);
    LONGLONG frames = kUnitsPerSecond / duration;
    return frames > 0 ? static_cast<DWORD>(frames) : 1;
}
