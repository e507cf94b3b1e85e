// Puts the program's grab buffer back to its start-of-process state (frees any block),
// for tests that drive it in process. For test programs that link the program's core.
#pragma once

#include "snapshot/GrabBuffer.h"

namespace support
{

inline void ResetGrabBuffer()
{
    ReleaseGrabBlock();
    GrabBuffer.grabPending.store(0);
    GrabBuffer.frameCapacity = GrabBuffer.frameLength = 0;
    GrabBuffer.frameWidth = GrabBuffer.frameHeight = 0;
    GrabBuffer.haveStill = 0;
    GrabBuffer.ownerDialog = nullptr;
    GrabBuffer.ownerWindow = nullptr;
    GrabBuffer.snapDirectory[0] = GrabBuffer.snapBaseName[0] = GrabBuffer.lastStillPath[0] = '\0';
    GrabBuffer.lastStillHeader = BITMAPINFOHEADER{};
}

}  // namespace support
