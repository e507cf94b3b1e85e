#include "GrabGraph.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include "vcam/frame/FrameStamp.h"

namespace
{

constexpr DWORD FourCc(const char (&code)[5])
{
    return static_cast<DWORD>(code[0]) | static_cast<DWORD>(code[1]) << 8 | static_cast<DWORD>(code[2]) << 16 |
           static_cast<DWORD>(code[3]) << 24;
}

bool ReadJpegStamp(const BYTE* data, long length, LONG width, LONG height, uint32_t* number)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(length))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), &bgr)))
        return false;
    const LONG stride = width * 3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    return SUCCEEDED(bgr->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data())) &&
           ReadFrameNumberTopDown(pixels.data(), width, height, stride, number);
}

bool ReadStamp(DWORD compression, const BYTE* data, long length, LONG width, LONG height, uint32_t* number)
{
    if (compression == BI_RGB)
        return ReadFrameNumberFromDib(data, width, height, number);
    if (compression == FourCc("MJPG"))
        return ReadJpegStamp(data, length, width, height, number);
    const bool packed = compression == FourCc("YUY2") || compression == FourCc("UYVY");
    const BYTE* luma = data + (compression == FourCc("UYVY") ? 1 : 0);
    return ReadFrameNumberFromLuma(luma, width, height, packed ? width * 2 : width, packed ? 2 : 1, number);
}

}  // namespace

LONGLONG NowUs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

// From the second frame: the renderer holds the first until the stream start.
void ExpectNoFasterThanStamped(const std::vector<FrameRecord>& frames)
{
    ASSERT_GE(frames.size(), 3u);
    const REFERENCE_TIME stampedUs = (frames.back().start - frames[1].start) / 10;
    const LONGLONG arrivedUs = frames.back().arrivalUs - frames[1].arrivalUs;
    EXPECT_GE(2 * arrivedUs, stampedUs) << "frames came faster than their stamps";
}

std::vector<FrameRecord> FrameRecorder::Frames()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

size_t FrameRecorder::Count()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames.size();
}

bool FrameRecorder::WaitFor(size_t count, DWORD deadlineMs)
{
    const DWORD start = GetTickCount();
    while (Count() < count)
    {
        if (GetTickCount() - start > deadlineMs)
            return false;
        Sleep(5);
    }
    return true;
}

STDMETHODIMP FrameRecorder::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB)
    {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FrameRecorder::SampleCB(double, IMediaSample* sample)
{
    FrameRecord record = {};
    record.arrivalUs = NowUs();
    record.length = sample->GetActualDataLength();
    record.discontinuity = sample->IsDiscontinuity() == S_OK;
    record.syncPoint = sample->IsSyncPoint() == S_OK;
    if (FAILED(sample->GetTime(&record.start, &record.stop)))
        record.start = record.stop = -1;
    BYTE* data = nullptr;
    if (SUCCEEDED(sample->GetPointer(&data)) && width > 0)
        record.numbered = ReadStamp(compression, data, record.length, width, height, &record.number);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frames.push_back(record);
    return S_OK;
}

GrabGraph::~GrabGraph()
{
    if (control)
        control->Stop();
    CoTaskMemFree(connected.pbFormat);
    if (connected.pUnk)
        connected.pUnk->Release();
}

HRESULT GrabGraph::Build(IBaseFilter* camera, FrameRecorder* recorder, IPin* pin)
{
    ComPtr<IPin> source = pin ? ComPtr<IPin>(pin) : PinOfCategory(camera, PIN_CATEGORY_CAPTURE);
    if (!source)
        return E_FAIL;
    HRESULT hr = GrabberChain::Build(camera, source.Get(), subtype);
    if (graph)
        graph.As(&control);  // also half built: a test's later calls then fail, not crash
    if (FAILED(hr))
        return hr;
    hr = grabber->GetConnectedMediaType(&connected);
    if (FAILED(hr))
        return hr;
    if (const VIDEOINFOHEADER* vih = VideoInfoOf(connected))
    {
        recorder->width = vih->bmiHeader.biWidth;
        recorder->height = vih->bmiHeader.biHeight;
        recorder->compression = vih->bmiHeader.biCompression;
    }
    grabber->SetBufferSamples(FALSE);
    return grabber->SetCallback(recorder, 0);
}

HRESULT GrabGraph::BuildAndRun(IBaseFilter* camera, FrameRecorder* recorder)
{
    const HRESULT hr = Build(camera, recorder);
    return FAILED(hr) ? hr : WaitForState(control.Get(), State_Running);
}

ComPtr<IBaseFilter> GrabGraph::AddCamera(DeviceScope& devices, const std::wstring& name,
                                         FrameRecorder* recorder)
{
    return AddCamera(devices, name, recorder, false);
}

ComPtr<IBaseFilter> GrabGraph::AddRunningCamera(DeviceScope& devices, const std::wstring& name,
                                                FrameRecorder* recorder)
{
    return AddCamera(devices, name, recorder, true);
}

ComPtr<IBaseFilter> GrabGraph::AddCamera(DeviceScope& devices, const std::wstring& name,
                                         FrameRecorder* recorder, bool run)
{
    ComPtr<IBaseFilter> camera = devices.Add(name);
    if (!camera)
        return nullptr;
    const HRESULT hr = run ? BuildAndRun(camera.Get(), recorder) : Build(camera.Get(), recorder);
    if (hr == S_OK)
        return camera;
    ADD_FAILURE() << "the grab graph on the camera failed: 0x" << std::hex << hr;
    return nullptr;
}
