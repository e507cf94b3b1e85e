// Helpers for driving the grab buffer as the streaming and user-interface threads do.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/GrabBufferReset.h"
#include "support/TempFolder.h"

using support::ResetGrabBuffer;

// A window on the calling thread that receives WM_FRAME_GRABBED; counts and drains them.
class FrameGrabbedSink
{
public:
    FrameGrabbedSink();
    ~FrameGrabbedSink();
    HWND Window() const { return m_window; }
    int Drain();                       // messages waiting now
    bool WaitForOne(DWORD timeoutMs);  // consumes one message
private:
    HWND m_window;
};

// Calls BufferCB on a thread of its own, as the streaming thread would, and waits.
HRESULT DeliverFrame(BYTE* buffer, LONG length);

// A frame whose every byte is `value`.
std::vector<BYTE> UniformFrame(LONG length, BYTE value);
