#include "snapshot/FrameGrabCallback.h"

#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "capture/DialogMessages.h"

CFrameGrabCallback FrameGrabCallback;

STDMETHODIMP CFrameGrabCallback::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_ISampleGrabberCB) || IsEqualIID(riid, IID_IUnknown))
    {
        *object = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFrameGrabCallback::AddRef()
{
    return 2;
}

STDMETHODIMP_(ULONG) CFrameGrabCallback::Release()
{
    return 1;
}

STDMETHODIMP CFrameGrabCallback::SampleCB(double, IMediaSample*)
{
    return S_OK;
}

// Runs on the streaming thread for every frame. The idle path is two atomic operations; the
// dialog is told by a posted message only, so this never waits for the UI thread.
STDMETHODIMP CFrameGrabCallback::BufferCB(double, BYTE* buffer, LONG length)
{
    GrabBuffer.framesSeen.fetch_add(1, std::memory_order_relaxed);
    if (!GrabBuffer.grabPending.load())
        return S_OK;
    if (!buffer)
        return E_POINTER;
    const HRESULT hr = StoreGrabbedFrame(buffer, length);
    if (hr != S_OK)
        return FAILED(hr) ? hr : S_OK;
    PostMessageA(GrabBuffer.ownerWindow, WM_FRAME_GRABBED, 0, 0);
    return S_OK;
}
