// The recording frame rate typed into the dialog, and the frame duration it gives.
#pragma once

#include <windows.h>

constexpr UINT kMinFrameRate = 1;
constexpr UINT kMaxFrameRate = 30;

// GetDlgItemInt's raw value, compared unsigned: above 30 (a negative entry too) gives
// 30, and 0 (also text that is not a number) gives 1.
UINT ClampFrameRate(UINT entry);

// 100-ns units per frame for a rate of 1..30.
LONGLONG FrameDuration100ns(UINT rate);
