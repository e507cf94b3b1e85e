// camera pin -> sample grabber -> null renderer, with a callback that records every
// frame: arrival time, sample times, frame size and the stamped frame number (read from
// RGB24, from the luma of the YUV formats, and from MJPG frames decoded with WIC).
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "VcamTestSupport.h"
#include "support/GrabberChain.h"

struct FrameRecord
{
    LONGLONG arrivalUs;  // on the performance counter
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
    long length;
    bool discontinuity;
    bool syncPoint;
    bool numbered;
    uint32_t number;
};

class FrameRecorder final : public ISampleGrabberCB
{
public:
    // Filled in once the grabber is connected.
    LONG width = 0;
    LONG height = 0;
    DWORD compression = BI_RGB;  // the FOURCC of YUV and MJPG frames

    std::vector<FrameRecord> Frames();
    size_t Count();
    // Waits until `count` frames arrived; a loaded machine may take long, so the
    // deadline is generous. False when it passed.
    bool WaitFor(size_t count, DWORD deadlineMs = 30000);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    // Owned by the test, which outlives the graph.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return S_OK; }

private:
    std::mutex m_mutex;
    std::vector<FrameRecord> m_frames;
};

LONGLONG NowUs();

// A camera that does not pace its frames sends them faster than their stamps say.
// Load only ever delays frames, so this one-sided check cannot fail on a slow machine.
void ExpectNoFasterThanStamped(const std::vector<FrameRecord>& frames);

struct GrabGraph : support::GrabberChain
{
    ComPtr<IMediaControl> control;
    AM_MEDIA_TYPE connected = {};
    GUID subtype = MEDIASUBTYPE_RGB24;  // what the grabber takes

    ~GrabGraph();
    // Adds the camera, connects `pin` (the camera's capture pin when null) through
    // the grabber into the null renderer and installs the recorder.
    HRESULT Build(IBaseFilter* camera, FrameRecorder* recorder, IPin* pin = nullptr);
    // Builds as above and runs the graph until it says it runs.
    HRESULT BuildAndRun(IBaseFilter* camera, FrameRecorder* recorder);
    // Adds the device `name` for the test and builds (or builds and runs) on it; the
    // camera, or null with the failure reported.
    ComPtr<IBaseFilter> AddCamera(DeviceScope& devices, const std::wstring& name, FrameRecorder* recorder);
    ComPtr<IBaseFilter> AddRunningCamera(DeviceScope& devices, const std::wstring& name,
                                         FrameRecorder* recorder);

private:
    ComPtr<IBaseFilter> AddCamera(DeviceScope& devices, const std::wstring& name, FrameRecorder* recorder,
                                  bool run);
};
