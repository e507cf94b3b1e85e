// The frame number as readable digits, for people looking at the picture.
#pragma once

#include <windows.h>
#include <cstdint>

#include "vcam/frame/FrameLayout.h"

// Draws the decimal number on a dark box just below the stamp, at a size that grows
// with the frame width; whatever does not fit the image is clipped.
void DrawFrameDigits(const FrameLayout& layout, BYTE* dib, uint32_t number);
