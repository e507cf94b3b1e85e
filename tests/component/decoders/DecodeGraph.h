// A source's stream through whatever decoder the filter graph inserts into a sample
// grabber that wants RGB24 (as the program's preview asks for it) and a null renderer;
// each upright RGB24 frame's stamp, times and bar colours recorded.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "GrabberCallback.h"
#include "decoders/YuvToRgb.h"
#include "support/GrabberChain.h"

struct DecodedFrame
{
    bool numbered;
    uint32_t number;
    REFERENCE_TIME start;
    decoders::Rgb bars[8];  // in the middle of each of eight equal bars, halfway down
};

class DecodedFrames final : public GrabberCallback
{
public:
    LONG width = 0, height = 0;  // of the grabber's connection

    std::vector<DecodedFrame> Frames();
    bool WaitFor(size_t count);  // generous: a loaded machine

    STDMETHODIMP SampleCB(double, IMediaSample* sample) override;

private:
    std::mutex m_mutex;
    std::vector<DecodedFrame> m_frames;
};

struct DecodeGraph : support::GrabberChain
{
    ~DecodeGraph();
    // Connects the source's first output pin; without a clock, frames pass as soon as
    // they are sent. Sets the recorder's size from the grabber's connection.
    HRESULT Build(IBaseFilter* source, DecodedFrames* frames, bool clock);
    bool Holds(const CLSID& filterClass);
};
