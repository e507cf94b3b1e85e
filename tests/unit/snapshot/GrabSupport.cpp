#include "capture/DialogMessages.h"

#include "GrabSupport.h"

#include <thread>

#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBuffer.h"

FrameGrabbedSink::FrameGrabbedSink()
    : m_window(CreateWindowExA(0, "STATIC", "sink", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
{
}

FrameGrabbedSink::~FrameGrabbedSink()
{
    Drain();
    DestroyWindow(m_window);
}

int FrameGrabbedSink::Drain()
{
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, m_window, WM_FRAME_GRABBED, WM_FRAME_GRABBED, PM_REMOVE))
        ++count;
    return count;
}

bool FrameGrabbedSink::WaitForOne(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < timeoutMs)
    {
        if (PeekMessageA(&msg, m_window, WM_FRAME_GRABBED, WM_FRAME_GRABBED, PM_REMOVE))
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
    return false;
}

HRESULT DeliverFrame(BYTE* buffer, LONG length)
{
    HRESULT hr = E_UNEXPECTED;
    std::thread streaming([&] { hr = FrameGrabCallback.BufferCB(0.0, buffer, length); });
    streaming.join();
    return hr;
}

std::vector<BYTE> UniformFrame(LONG length, BYTE value)
{
    return std::vector<BYTE>(static_cast<size_t>(length), value);
}
