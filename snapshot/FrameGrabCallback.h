// The sample grabber's callback: one static object for the whole process that copies
// a requested frame into GrabBuffer on the streaming thread and posts WM_FRAME_GRABBED.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

class CFrameGrabCallback final : public ISampleGrabberCB
{
public:
    // Static object: it counts no references and is never freed.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP SampleCB(double sampleTime, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double sampleTime, BYTE* buffer, LONG length) override;
};

extern CFrameGrabCallback FrameGrabCallback;
