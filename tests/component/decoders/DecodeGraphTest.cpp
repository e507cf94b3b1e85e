// Each camera subtype through the prefix's decoders, chosen by the filter graph's
// intelligent connect, into a sample grabber that wants RGB24 (as the program's preview
// builds it): the decoder Windows would use, the size, the bars' colours and the frame
// stamps and sample times in order.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "FrameSource.h"
#include "GrabberCallback.h"
#include "JpegFrames.h"
#include "YuvBars.h"
#include "capture/QeditClsids.h"
#include "comkit/ComApartment.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

namespace
{

constexpr LONG kWidth = 640, kHeight = 480;
constexpr int kFrames = 8;
constexpr uint32_t kFirstNumber = 500;
constexpr REFERENCE_TIME kInterval = 333333;

struct Grabbed
{
    bool numbered;
    uint32_t number;
    REFERENCE_TIME start;
    decoders::Rgb bars[testframes::kBarCount];
};

class Grabber final : public GrabberCallback
{
public:
    std::vector<Grabbed> Frames()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }

    STDMETHODIMP SampleCB(double, IMediaSample* sample) override
    {
        Grabbed frame = {};
        REFERENCE_TIME stop = 0;
        BYTE* dib = nullptr;
        if (FAILED(sample->GetTime(&frame.start, &stop)))
            frame.start = -1;
        if (SUCCEEDED(sample->GetPointer(&dib)) && sample->GetActualDataLength() >= kWidth * kHeight * 3)
        {
            frame.numbered = ReadFrameNumberFromDib(dib, kWidth, kHeight, &frame.number);
            const BYTE* row = dib + static_cast<size_t>(kHeight - 1 - testframes::kBelowStamp) * kWidth * 3;
            for (int bar = 0; bar < testframes::kBarCount; ++bar)
            {
                const BYTE* px = row + testframes::BarMiddle(bar, kWidth) * 3;
                frame.bars[bar] = {px[2], px[1], px[0]};
            }
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.push_back(frame);
        return S_OK;
    }

private:
    std::mutex m_mutex;
    std::vector<Grabbed> m_frames;
};

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction)
{
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (SUCCEEDED(filter->EnumPins(&pins)))
    {
        while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        {
            PIN_DIRECTION d;
            if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction)
                return pin;
        }
    }
    return nullptr;
}

bool GraphHolds(IGraphBuilder* graph, const CLSID& clsid)
{
    ComPtr<IEnumFilters> filters;
    ComPtr<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(&filters)))
        return false;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        CLSID id{};
        if (SUCCEEDED(filter->GetClassID(&id)) && id == clsid)
            return true;
    }
    return false;
}

// source -> (whatever the graph inserts) -> sample grabber (RGB24) -> null renderer,
// without a clock, so that frames pass as soon as they are sent.
struct DecodeGraph
{
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> grabberFilter, renderer;
    ComPtr<ISampleGrabber> grabber;

    HRESULT Build(IBaseFilter* source, Grabber* callback)
    {
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&grabberFilter));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer));
        if (SUCCEEDED(hr))
            hr = grabberFilter.As(&grabber);
        AM_MEDIA_TYPE want = {};
        want.majortype = MEDIATYPE_Video;
        want.subtype = MEDIASUBTYPE_RGB24;
        if (SUCCEEDED(hr))
            hr = grabber->SetMediaType(&want);
        for (auto [filter, name] : {std::pair<IBaseFilter*, const wchar_t*>{source, L"Source"},
                                    {grabberFilter.Get(), L"Grabber"},
                                    {renderer.Get(), L"Null"}})
        {
            if (SUCCEEDED(hr))
                hr = graph->AddFilter(filter, name);
        }
        if (SUCCEEDED(hr))
            hr = graph->Connect(FirstPin(source, PINDIR_OUTPUT).Get(),
                                FirstPin(grabberFilter.Get(), PINDIR_INPUT).Get());
        if (SUCCEEDED(hr))
            hr = graph->Connect(FirstPin(grabberFilter.Get(), PINDIR_OUTPUT).Get(),
                                FirstPin(renderer.Get(), PINDIR_INPUT).Get());
        ComPtr<IMediaFilter> clock;
        if (SUCCEEDED(hr))
            hr = graph.As(&clock);
        if (SUCCEEDED(hr))
            hr = clock->SetSyncSource(nullptr);
        if (SUCCEEDED(hr))
            hr = grabber->SetCallback(callback, 0);
        return hr;
    }

    ~DecodeGraph()
    {
        ComPtr<IMediaControl> control;
        if (graph && SUCCEEDED(graph.As(&control)))
            control->Stop();
    }
};

struct Subtype
{
    const char* name;
    DWORD fourcc;
    WORD bitCount;
    decoders::YuvLayout layout;  // not used for MJPG
    const CLSID* decoder;        // the filter the graph should insert
    int tolerance;
};

const Subtype kSubtypes[] = {
    {"YUY2", MAKEFOURCC('Y', 'U', 'Y', '2'), 16, decoders::YuvLayout::Yuy2, &CLSID_AVIDec, 2},
    {"UYVY", MAKEFOURCC('U', 'Y', 'V', 'Y'), 16, decoders::YuvLayout::Uyvy, &CLSID_AVIDec, 2},
    {"YVYU", MAKEFOURCC('Y', 'V', 'Y', 'U'), 16, decoders::YuvLayout::Yvyu, &CLSID_AVIDec, 2},
    {"I420", MAKEFOURCC('I', '4', '2', '0'), 12, decoders::YuvLayout::I420, &CLSID_AVIDec, 2},
    {"IYUV", MAKEFOURCC('I', 'Y', 'U', 'V'), 12, decoders::YuvLayout::I420, &CLSID_AVIDec, 2},
    {"NV12", MAKEFOURCC('N', 'V', '1', '2'), 12, decoders::YuvLayout::Nv12, &CLSID_AVIDec, 2},
    {"MJPG", MAKEFOURCC('M', 'J', 'P', 'G'), 24, decoders::YuvLayout::Yuy2, &CLSID_MjpegDec, 10},
};

std::vector<BYTE> MakeFrame(const Subtype& subtype, uint32_t number)
{
    if (*subtype.decoder == CLSID_MjpegDec)
        return testframes::EncodeJpeg(testframes::MakeBarsBgr(kWidth, kHeight, number), kWidth, kHeight);
    return testframes::MakeBarsFrame(subtype.layout, kWidth, kHeight, number);
}

bool WaitForFrames(Grabber& grabber, size_t count)
{
    for (int i = 0; i < 200 && grabber.Frames().size() < count; ++i)
        Sleep(50);
    return grabber.Frames().size() >= count;
}

class DecodeGraphTest : public ::testing::TestWithParam<Subtype>
{
protected:
    // Source of the subtype -> what the graph inserts -> grabber, checked and running.
    void Start(const Subtype& subtype)
    {
        const DWORD largest = static_cast<DWORD>(kWidth * kHeight * 3);
        ASSERT_EQ(S_OK, testsource::CreateFrameSource(
                            testsource::VideoType(subtype.fourcc, kWidth, kHeight, subtype.bitCount, largest),
                            &m_filter, &m_source));
        ASSERT_EQ(S_OK, m_graph.Build(m_filter.Get(), &m_grabber));
        EXPECT_TRUE(GraphHolds(m_graph.graph.Get(), *subtype.decoder));
        AM_MEDIA_TYPE connected = {};
        ASSERT_EQ(S_OK, m_graph.grabber->GetConnectedMediaType(&connected));
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
        EXPECT_EQ(MEDIASUBTYPE_RGB24, connected.subtype);
        EXPECT_EQ(kWidth, vih->bmiHeader.biWidth);
        EXPECT_EQ(kHeight, vih->bmiHeader.biHeight);
        comkit::FreeMediaType(connected);
        ASSERT_EQ(S_OK, m_graph.graph.As(&m_control));
        ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    }

    HRESULT Send(int index, const std::vector<BYTE>& frame)
    {
        return testsource::SendFrame(m_source, frame, index * kInterval, (index + 1) * kInterval);
    }

    comkit::ComApartment m_com;
    ComPtr<IBaseFilter> m_filter;
    testsource::FrameSource* m_source = nullptr;
    Grabber m_grabber;
    DecodeGraph m_graph;
    ComPtr<IMediaControl> m_control;
};

TEST_P(DecodeGraphTest, DecodedToRgb24InOrderWithTheBarsColours)
{
    const Subtype& subtype = GetParam();
    ASSERT_NO_FATAL_FAILURE(Start(subtype));
    for (int i = 0; i < kFrames; ++i)
        ASSERT_EQ(S_OK, Send(i, MakeFrame(subtype, kFirstNumber + i)));
    ASSERT_TRUE(WaitForFrames(m_grabber, kFrames));
    m_control->Stop();

    const std::vector<Grabbed> frames = m_grabber.Frames();
    for (int i = 0; i < kFrames; ++i)
    {
        EXPECT_TRUE(frames[i].numbered) << i;
        EXPECT_EQ(kFirstNumber + i, frames[i].number);
        EXPECT_EQ(i * kInterval, frames[i].start);
    }
    for (int bar = 0; bar < testframes::kBarCount; ++bar)
    {
        const decoders::Rgb &want = testframes::kBarsRgb[bar], &got = frames[0].bars[bar];
        EXPECT_NEAR(want.r, got.r, subtype.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.g, got.g, subtype.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.b, got.b, subtype.tolerance) << "bar " << bar;
    }
}

// A camera's damaged JPEG is dropped; the stream goes on with the next frame.
TEST_F(DecodeGraphTest, DamagedMjpgFrameIsDroppedAndTheStreamGoesOn)
{
    const Subtype& mjpg = kSubtypes[ARRAYSIZE(kSubtypes) - 1];
    ASSERT_NO_FATAL_FAILURE(Start(mjpg));
    std::vector<BYTE> damaged = MakeFrame(mjpg, kFirstNumber + 1);
    damaged[1] = 0;  // no start-of-image marker
    EXPECT_EQ(S_OK, Send(0, MakeFrame(mjpg, kFirstNumber)));
    EXPECT_EQ(S_OK, Send(1, damaged));
    EXPECT_EQ(S_OK, Send(2, MakeFrame(mjpg, kFirstNumber + 2)));
    ASSERT_TRUE(WaitForFrames(m_grabber, 2));
    m_control->Stop();
    const std::vector<Grabbed> frames = m_grabber.Frames();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(kFirstNumber, frames[0].number);
    EXPECT_EQ(kFirstNumber + 2, frames[1].number);
}

INSTANTIATE_TEST_SUITE_P(Decoders, DecodeGraphTest, ::testing::ValuesIn(kSubtypes),
                         [](const ::testing::TestParamInfo<Subtype>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
