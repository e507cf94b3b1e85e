#include "DecodeGraph.h"

#include "comkit/MediaType.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

std::vector<DecodedFrame> DecodedFrames::Frames()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

bool DecodedFrames::WaitFor(size_t count)
{
    for (int i = 0; i < 400 && Frames().size() < count; ++i)
        Sleep(50);
    return Frames().size() >= count;
}

STDMETHODIMP DecodedFrames::SampleCB(double, IMediaSample* sample)
{
    DecodedFrame frame = {};
    REFERENCE_TIME stop = 0;
    BYTE* dib = nullptr;
    if (FAILED(sample->GetTime(&frame.start, &stop)))
        frame.start = -1;
    const size_t stride = decoders::RgbFrameBytes(width, 1, 24);
    if (SUCCEEDED(sample->GetPointer(&dib)) && width > 0 &&
        static_cast<size_t>(sample->GetActualDataLength()) >= stride * height)
    {
        frame.numbered = ReadFrameNumberFromDib(dib, width, height, &frame.number);
        const BYTE* row = dib + stride * (height / 2);
        for (int bar = 0; bar < 8; ++bar)
        {
            const BYTE* px = row + static_cast<size_t>((2 * bar + 1) * width / 16) * 3;
            frame.bars[bar] = {px[2], px[1], px[0]};
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frames.push_back(frame);
    return S_OK;
}

DecodeGraph::~DecodeGraph()
{
    ComPtr<IMediaControl> control;
    if (graph && SUCCEEDED(graph.As(&control)))
        control->Stop();
}

HRESULT DecodeGraph::Build(IBaseFilter* source, DecodedFrames* frames, bool clock)
{
    HRESULT hr = GrabberChain::Build(source);
    ComPtr<IMediaFilter> media;
    if (SUCCEEDED(hr) && !clock)
        hr = graph.As(&media);
    if (SUCCEEDED(hr) && !clock)
        hr = media->SetSyncSource(nullptr);
    AM_MEDIA_TYPE connected = {};
    if (SUCCEEDED(hr))
        hr = grabber->GetConnectedMediaType(&connected);
    if (SUCCEEDED(hr) && connected.subtype == MEDIASUBTYPE_RGB24 &&
        connected.formattype == FORMAT_VideoInfo && connected.cbFormat >= sizeof(VIDEOINFOHEADER))
    {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
        frames->width = vih->bmiHeader.biWidth;
        frames->height = vih->bmiHeader.biHeight;
    }
    comkit::FreeMediaType(connected);
    if (SUCCEEDED(hr))
        hr = grabber->SetCallback(frames, 0);
    return hr;
}

bool DecodeGraph::Holds(const CLSID& filterClass)
{
    ComPtr<IEnumFilters> filters;
    ComPtr<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(&filters)))
        return false;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        CLSID id{};
        if (SUCCEEDED(filter->GetClassID(&id)) && id == filterClass)
            return true;
    }
    return false;
}
