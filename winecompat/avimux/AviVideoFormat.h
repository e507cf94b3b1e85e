// The connected video format as the AVI file records it.
#pragma once

#include <windows.h>
#include <strmif.h>  // REFERENCE_TIME

#include <vector>

struct AviVideoFormat
{
    // The format block's BITMAPINFOHEADER and whatever follows it (masks, palette),
    // kept as connected: a negative height stays top-down.
    std::vector<BYTE> bitmapInfo;
    REFERENCE_TIME frameDuration = 0;  // 0: unknown, the writer uses a default rate

    const BITMAPINFOHEADER& Header() const
    {
        return *reinterpret_cast<const BITMAPINFOHEADER*>(bitmapInfo.data());
    }
};

// The frame duration the file is written with: the connected one, or 30 fps when the
// connection gives none.
REFERENCE_TIME EffectiveFrameDuration(REFERENCE_TIME connected);

// dwRate/dwScale for a frame duration in 100 ns units; whole and NTSC rates exactly
// (333333 -> 30/1, 333667 -> 30000/1001).
void AviRateOf(REFERENCE_TIME frameDuration, DWORD* rate, DWORD* scale);

// Frames in one second of video, at least one.
DWORD FramesPerSecondOf(REFERENCE_TIME frameDuration);
