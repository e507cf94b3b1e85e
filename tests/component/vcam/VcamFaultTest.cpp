// Devices registered with faults behave as broken cameras do, and otherwise still work.
#include <gtest/gtest.h>

#include <memory>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include <dvdmedia.h>
#include "comkit/InterfaceIds.h"
#include "vcam/VcamGuids.h"

namespace
{

class VcamFaults : public ::testing::Test
{
protected:
    ComPtr<IBaseFilter> AddCamera(unsigned faults, unsigned stopAfter = 0, bool videoInfo2 = false)
    {
        DeviceSettings settings;
        settings.faults = faults;
        settings.stopAfterFrames = stopAfter;
        settings.videoInfo2 = videoInfo2;
        return devices.Add(L"Tarnview Faulty Camera", settings);
    }

    // Runs the camera into a grabber until `frames` arrived.
    void Stream(IBaseFilter* camera, FrameRecorder* recorder, size_t frames)
    {
        GrabGraph graph;
        ASSERT_EQ(S_OK, graph.BuildAndRun(camera, recorder));
        recorder->WaitFor(frames);
        ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    }

    ComApartment com;
    DeviceScope devices;
};

ComPtr<IPin> CapturePin(IBaseFilter* camera)
{
    return PinOfCategory(camera, PIN_CATEGORY_CAPTURE);
}

}  // namespace

TEST_F(VcamFaults, NoStreamConfigHidesTheInterfaceButStreams)
{
    ComPtr<IBaseFilter> camera = AddCamera(VcamFault::NoStreamConfig);
    ASSERT_TRUE(camera);
    ComPtr<IAMStreamConfig> config;
    EXPECT_EQ(E_NOINTERFACE, CapturePin(camera.Get())->QueryInterface(IID_PPV_ARGS(&config)));
    FrameRecorder recorder;
    Stream(camera.Get(), &recorder, 5);
    EXPECT_GE(recorder.Count(), 5u);
}

TEST_F(VcamFaults, NoCapabilitiesStillConnectsWithTheDefaultType)
{
    ComPtr<IBaseFilter> camera = AddCamera(VcamFault::NoCapabilities);
    ASSERT_TRUE(camera);
    ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePin(camera.Get()).Get());
    ASSERT_TRUE(config);
    int count = -1, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(0, count);
    AM_MEDIA_TYPE* mt = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps;
    EXPECT_EQ(S_FALSE, config->GetStreamCaps(0, &mt, reinterpret_cast<BYTE*>(&caps)));
    FrameRecorder recorder;
    Stream(camera.Get(), &recorder, 5);
    EXPECT_EQ(640, recorder.width);
    EXPECT_GE(recorder.Count(), 5u);
}

TEST_F(VcamFaults, FailingCapsAndFormatQueries)
{
    ComPtr<IBaseFilter> camera = AddCamera(VcamFault::GetStreamCapsFails | VcamFault::GetFormatFails);
    ASSERT_TRUE(camera);
    ComPtr<IAMStreamConfig> config = StreamConfigOf(CapturePin(camera.Get()).Get());
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    EXPECT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(5, count);
    AM_MEDIA_TYPE* mt = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps;
    EXPECT_EQ(E_FAIL, config->GetStreamCaps(0, &mt, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(nullptr, mt);
    EXPECT_EQ(E_FAIL, config->GetFormat(&mt));
    EXPECT_EQ(nullptr, mt);
    FrameRecorder recorder;
    Stream(camera.Get(), &recorder, 5);
    EXPECT_GE(recorder.Count(), 5u);
}

TEST_F(VcamFaults, VideoInfo2IsTheCurrentFormatAndOffersBothHeaders)
{
    ComPtr<IBaseFilter> camera = AddCamera(0, 0, true);
    ASSERT_TRUE(camera);
    ComPtr<IPin> capture = CapturePin(camera.Get());
    ComPtr<IAMStreamConfig> config = StreamConfigOf(capture.Get());
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    TaskMediaType current(mt);
    ASSERT_EQ(FORMAT_VideoInfo2, current->formattype);
    ASSERT_GE(current->cbFormat, sizeof(VIDEOINFOHEADER2));
    const auto* vih2 = reinterpret_cast<const VIDEOINFOHEADER2*>(current->pbFormat);
    EXPECT_EQ(640, vih2->bmiHeader.biWidth);
    EXPECT_EQ(333333, vih2->AvgTimePerFrame);

    // Each format twice, VIDEOINFOHEADER2 first, the same size and rate in both.
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, capture->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* list[12] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, types->Next(12, list, &fetched));
    ASSERT_EQ(10u, fetched);
    const LONG widths[] = {640, 320, 1280, 642, 640};
    for (ULONG i = 0; i < fetched; i += 2)
    {
        EXPECT_EQ(FORMAT_VideoInfo2, list[i]->formattype) << i;
        const VIDEOINFOHEADER* vih = VideoInfoOf(*list[i + 1]);
        ASSERT_TRUE(vih) << i;
        EXPECT_EQ(widths[i / 2], vih->bmiHeader.biWidth);
        EXPECT_EQ(reinterpret_cast<const VIDEOINFOHEADER2*>(list[i]->pbFormat)->bmiHeader.biHeight,
                  vih->bmiHeader.biHeight);
        EXPECT_EQ(333333, vih->AvgTimePerFrame);
    }
    for (ULONG i = 0; i < fetched; ++i)
        DeleteMediaType(list[i]);

    // Capabilities stay plain VIDEOINFOHEADERs, and choosing one keeps the preference.
    VIDEO_STREAM_CONFIG_CAPS caps;
    ASSERT_EQ(S_OK, config->GetStreamCaps(1, &mt, reinterpret_cast<BYTE*>(&caps)));
    TaskMediaType cap(mt);
    EXPECT_EQ(FORMAT_VideoInfo, cap->formattype);
    ASSERT_EQ(S_OK, config->SetFormat(cap.get()));
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    current.reset(mt);
    EXPECT_EQ(FORMAT_VideoInfo2, current->formattype);

    // The grabber takes either header and gets frames; the format stays reported with
    // the device's header, at the connection's size.
    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    current.reset(mt);
    ASSERT_EQ(FORMAT_VideoInfo2, current->formattype);
    EXPECT_EQ(320, reinterpret_cast<const VIDEOINFOHEADER2*>(current->pbFormat)->bmiHeader.biWidth);
    AM_MEDIA_TYPE connected = {};
    ASSERT_EQ(S_OK, capture->ConnectionMediaType(&connected));
    EXPECT_TRUE(connected.formattype == FORMAT_VideoInfo || connected.formattype == FORMAT_VideoInfo2);
    CoTaskMemFree(connected.pbFormat);
    recorder.width = 320;  // the grabber fills these in only for a VIDEOINFOHEADER
    recorder.height = 240;
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
    recorder.WaitFor(5);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    ASSERT_GE(recorder.Count(), 5u);
    EXPECT_TRUE(recorder.Frames().front().numbered);
}

// A peer that asks for a header gets it.
TEST_F(VcamFaults, VideoInfo2CameraConnectsWithTheHeaderAskedFor)
{
    ComPtr<IBaseFilter> camera = AddCamera(0, 0, true);
    ASSERT_TRUE(camera);
    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    ComPtr<IPin> capture = CapturePin(camera.Get());
    ComPtr<IPin> peer;
    ASSERT_EQ(S_OK, capture->ConnectedTo(&peer));
    for (const GUID& header : {FORMAT_VideoInfo2, FORMAT_VideoInfo})
    {
        ASSERT_EQ(S_OK, peer->Disconnect());
        ASSERT_EQ(S_OK, capture->Disconnect());
        AM_MEDIA_TYPE partial = {};
        partial.majortype = MEDIATYPE_Video;
        partial.subtype = MEDIASUBTYPE_RGB24;
        partial.formattype = header;
        ASSERT_EQ(S_OK, capture->Connect(peer.Get(), &partial));
        AM_MEDIA_TYPE connected = {};
        ASSERT_EQ(S_OK, capture->ConnectionMediaType(&connected));
        EXPECT_EQ(header, connected.formattype);
        CoTaskMemFree(connected.pbFormat);
        AM_MEDIA_TYPE* mt = nullptr;
        ASSERT_EQ(S_OK, StreamConfigOf(capture.Get())->GetFormat(&mt));
        EXPECT_EQ(FORMAT_VideoInfo2, mt->formattype);
        DeleteMediaType(mt);
    }
}

TEST_F(VcamFaults, StopAfterFramesFallsSilentWhileRunning)
{
    ComPtr<IBaseFilter> camera = AddCamera(0, 7);
    ASSERT_TRUE(camera);
    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.BuildAndRun(camera.Get(), &recorder));
    EXPECT_TRUE(recorder.WaitFor(7));
    Sleep(1000);  // room for an eighth frame, which must not come
    FILTER_STATE state;
    EXPECT_EQ(S_OK, camera->GetState(0, &state));
    EXPECT_EQ(State_Running, state);
    EXPECT_EQ(7u, recorder.Count());
    ComPtr<IMediaEvent> events;
    ASSERT_EQ(S_OK, graph.graph->QueryInterface(IID_PPV_ARGS(&events)));
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK)
    {
        EXPECT_NE(EC_COMPLETE, code) << "a stalled camera sends no end of stream";
        events->FreeEventParams(code, p1, p2);
    }
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
}

TEST_F(VcamFaults, PropertyPagesOnlyWithoutTheFault)
{
    ComPtr<IBaseFilter> broken = AddCamera(VcamFault::NoPropertyPages);
    ASSERT_TRUE(broken);
    ComPtr<ISpecifyPropertyPages> pages;
    EXPECT_EQ(E_NOINTERFACE, broken.As(&pages));

    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Paged Camera");
    ASSERT_TRUE(camera);
    ASSERT_EQ(S_OK, camera.As(&pages));
    CAUUID list = {};
    ASSERT_EQ(S_OK, pages->GetPages(&list));
    ASSERT_EQ(1u, list.cElems);
    EXPECT_EQ(CLSID_TarnviewVcamScenePage, list.pElems[0]);
    CoTaskMemFree(list.pElems);
}
