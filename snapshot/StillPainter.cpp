#include "snapshot/StillPainter.h"

#include <algorithm>
#include <cstdlib>

#include "snapshot/BmpLayout.h"
#include "snapshot/GrabBuffer.h"

namespace
{
// The part of the stored still to show: the running format's size, but never more
// than the still itself holds. Empty when the block cannot hold the still (it was
// released and reallocated smaller since).
bool StillSourceSize(LONG* width, LONG* height)
{
    const BITMAPINFOHEADER& still = GrabBuffer.lastStillHeader;
    const SIZE_T stillBytes = DibPixelBytes(still);
    if (stillBytes == 0 || stillBytes > static_cast<SIZE_T>(GrabBuffer.frameCapacity))
        return false;
    *width = std::min(std::labs(GrabBuffer.frameWidth), still.biWidth);
    *height = std::min(std::labs(GrabBuffer.frameHeight), std::labs(still.biHeight));
    return *width > 0 && *height > 0;
}
}  // namespace

void PaintStillLocked(HWND frame)
{
    if (!GrabBuffer.haveStill || !GrabBuffer.frameBytes || !frame)
        return;
    LONG sourceWidth = 0;
    LONG sourceHeight = 0;
    if (!StillSourceSize(&sourceWidth, &sourceHeight))
        return;
    RECT rect{};
    GetWindowRect(frame, &rect);
    HDC dc = GetDC(frame);
    // Validates the frame's pending update so the black static does not paint over us.
    PAINTSTRUCT paint{};
    BeginPaint(frame, &paint);
    SetStretchBltMode(dc, COLORONCOLOR);
    BITMAPINFO info{};
    info.bmiHeader = GrabBuffer.lastStillHeader;
    StretchDIBits(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, 0, 0, sourceWidth, sourceHeight,
                  GrabBuffer.frameBytes, &info, DIB_RGB_COLORS, SRCCOPY);
    EndPaint(frame, &paint);
    ReleaseDC(frame, dc);
}
