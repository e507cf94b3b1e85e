// A sample grabber callback owned by its test, which outlives the graph: the IUnknown
// and both callbacks doing nothing; a test's callback overrides the one it uses.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

class GrabberCallback : public ISampleGrabberCB
{
public:
    virtual ~GrabberCallback() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = riid == IID_IUnknown || riid == IID_ISampleGrabberCB ? static_cast<ISampleGrabberCB*>(this)
                                                                    : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return S_OK; }
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }
};
