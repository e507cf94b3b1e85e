// The smallest DirectShow program that does a snapshot's job, the snapshot benchmark's
// baseline: camera -> sample grabber -> null renderer; a click arms the grabber's
// callback, which copies the next frame, and the clicking thread writes it as a BMP.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <atomic>
#include <string>
#include <vector>

#include "comkit/Handle.h"
#include "support/GrabberChain.h"

class NextFrameGrab final : public ISampleGrabberCB
{
public:
    NextFrameGrab();
    ~NextFrameGrab();

    // Builds the graph around the camera and runs it.
    HRESULT Start(IBaseFilter* camera);
    // Writes the next frame to `path`; false when none came or the file failed.
    bool SnapTo(const std::string& path);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    // Owned by the benchmark, which outlives the graph.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return S_OK; }
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

private:
    support::GrabberChain m_chain;
    Microsoft::WRL::ComPtr<IMediaControl> m_control;
    BITMAPINFOHEADER m_header = {};
    std::vector<BYTE> m_frame;
    std::atomic<bool> m_armed{false};
    comkit::Handle m_copied;
};
