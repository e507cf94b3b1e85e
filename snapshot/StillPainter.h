// Drawing the last still from the grab block into the "Last Snapshot" frame.
#pragma once

#include <windows.h>

// Stretches the last still over the whole of `frame`. The caller holds GrabBlockLock.
// The source rectangle is the running format's size clipped to the stored still, so
// the block is never read beyond what lastStillHeader describes.
void PaintStillLocked(HWND frame);
