#include "capture/FrameRate.h"

UINT ClampFrameRate(UINT entry)
{
    if (entry > kMaxFrameRate)
        return kMaxFrameRate;
    if (entry == 0)
        return kMinFrameRate;
    return entry;
}

LONGLONG FrameDuration100ns(UINT rate)
{
    return static_cast<LONGLONG>(10000000u / ClampFrameRate(rate));
}
