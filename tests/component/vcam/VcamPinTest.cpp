// The capture pin's formats and connections.
#include <gtest/gtest.h>

#include <memory>

#include "GrabGraph.h"
#include "VcamTestSupport.h"

namespace
{

class VcamPin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        camera = devices.Add(L"Tarnview Pin Camera");
        ASSERT_TRUE(camera);
        capture = PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE);
        ASSERT_TRUE(capture);
        config = StreamConfigOf(capture.Get());
        ASSERT_TRUE(config);
    }

    TaskMediaType Current()
    {
        AM_MEDIA_TYPE* mt = nullptr;
        EXPECT_EQ(S_OK, config->GetFormat(&mt));
        return TaskMediaType(mt);
    }

    // The capture pin connected to a sample grabber in a graph of its own; `peer` is the
    // grabber's input pin.
    void ConnectToGrabber(GrabGraph& graph, FrameRecorder& recorder, ComPtr<IPin>* peer)
    {
        ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
        ASSERT_EQ(S_OK, capture->ConnectedTo(peer->ReleaseAndGetAddressOf()));
    }

    ComApartment com;
    DeviceScope devices;
    ComPtr<IBaseFilter> camera;
    ComPtr<IPin> capture;
    ComPtr<IAMStreamConfig> config;
};

struct ExpectedCap
{
    LONG width, height;
    DWORD imageSize;
};

}  // namespace

TEST_F(VcamPin, OffersTheDefaultCapabilities)
{
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    ASSERT_EQ(5, count);
    ASSERT_EQ(static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS)), size);
    const ExpectedCap expected[] = {{640, 480, 921600},
                                    {320, 240, 230400},
                                    {1280, 960, 3686400},
                                    {642, 480, 1928 * 480},
                                    {640, -480, 921600}};
    for (int i = 0; i < count; ++i)
    {
        AM_MEDIA_TYPE* raw = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        ASSERT_EQ(S_OK, config->GetStreamCaps(i, &raw, reinterpret_cast<BYTE*>(&caps)));
        TaskMediaType mt(raw);
        EXPECT_EQ(MEDIATYPE_Video, mt->majortype);
        EXPECT_EQ(MEDIASUBTYPE_RGB24, mt->subtype);
        const VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
        ASSERT_TRUE(vih);
        EXPECT_EQ(expected[i].width, vih->bmiHeader.biWidth);
        EXPECT_EQ(expected[i].height, vih->bmiHeader.biHeight);
        EXPECT_EQ(expected[i].imageSize, vih->bmiHeader.biSizeImage);
        EXPECT_EQ(expected[i].imageSize, mt->lSampleSize);
        EXPECT_EQ(333333, vih->AvgTimePerFrame);
        EXPECT_EQ(166666, caps.MinFrameInterval);  // 60 fps, as vcamctl --fps allows
        EXPECT_EQ(10000000, caps.MaxFrameInterval);
        EXPECT_EQ(expected[i].width, caps.MaxOutputSize.cx);
        EXPECT_EQ(std::abs(expected[i].height), caps.MaxOutputSize.cy);
    }
    AM_MEDIA_TYPE* raw = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    EXPECT_EQ(S_FALSE, config->GetStreamCaps(5, &raw, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(E_INVALIDARG, config->GetStreamCaps(-1, &raw, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(E_POINTER, config->GetStreamCaps(0, nullptr, reinterpret_cast<BYTE*>(&caps)));
    EXPECT_EQ(E_POINTER, config->GetStreamCaps(0, &raw, nullptr));
    EXPECT_EQ(E_POINTER, config->GetNumberOfCapabilities(nullptr, &size));
}

TEST_F(VcamPin, SetFormatChoosesSizeAndClampsTheRate)
{
    OwnedMediaType small(320, 240, 100000);  // asks for 100 fps, gets 60
    ASSERT_EQ(S_OK, config->SetFormat(&small.mt));
    TaskMediaType mt = Current();
    const VIDEOINFOHEADER* vih = VideoInfoOf(*mt);
    ASSERT_TRUE(vih);
    EXPECT_EQ(320, vih->bmiHeader.biWidth);
    EXPECT_EQ(166666, vih->AvgTimePerFrame);

    OwnedMediaType slow(320, 240, 50000000);  // one frame in 5 s
    ASSERT_EQ(S_OK, config->SetFormat(&slow.mt));
    EXPECT_EQ(10000000, VideoInfoOf(*Current())->AvgTimePerFrame);

    OwnedMediaType keepRate(640, -480, 0);
    ASSERT_EQ(S_OK, config->SetFormat(&keepRate.mt));
    EXPECT_EQ(-480, VideoInfoOf(*Current())->bmiHeader.biHeight);
    EXPECT_EQ(10000000, VideoInfoOf(*Current())->AvgTimePerFrame);

    // Once chosen, the format is the only one the pin offers.
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, capture->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* list[8] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, types->Next(8, list, &fetched));
    EXPECT_EQ(1u, fetched);
    for (ULONG i = 0; i < fetched; ++i)
        DeleteMediaType(list[i]);

    OwnedMediaType unknownSize(100, 100, 0);
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config->SetFormat(&unknownSize.mt));
    OwnedMediaType wrongDepth(640, 480, 0);
    wrongDepth.vih.bmiHeader.biBitCount = 32;
    wrongDepth.mt.subtype = MEDIASUBTYPE_RGB32;
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config->SetFormat(&wrongDepth.mt));
    OwnedMediaType truncated(640, 480, 0);
    truncated.mt.cbFormat = sizeof(VIDEOINFOHEADER) - 8;
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config->SetFormat(&truncated.mt));
    EXPECT_EQ(E_POINTER, config->SetFormat(nullptr));
}

TEST_F(VcamPin, EnumeratesCurrentFormatFirstAndCopiesEnumerators)
{
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, capture->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* first = nullptr;
    ASSERT_EQ(S_OK, types->Next(1, &first, nullptr));
    TaskMediaType firstType(first);
    EXPECT_EQ(640, VideoInfoOf(*firstType)->bmiHeader.biWidth);
    ComPtr<IEnumMediaTypes> clone;
    ASSERT_EQ(S_OK, types->Clone(&clone));
    EXPECT_EQ(S_OK, types->Skip(3));
    EXPECT_EQ(S_FALSE, types->Skip(2));
    AM_MEDIA_TYPE* next = nullptr;
    EXPECT_EQ(S_FALSE, types->Next(1, &next, nullptr));
    ASSERT_EQ(S_OK, clone->Next(1, &next, nullptr));  // the clone kept its own position
    TaskMediaType second(next);
    EXPECT_EQ(320, VideoInfoOf(*second)->bmiHeader.biWidth);
    ASSERT_EQ(S_OK, types->Reset());
    EXPECT_EQ(S_OK, types->Skip(5));
}

TEST_F(VcamPin, IdentityAndUnconnectedQueries)
{
    PIN_INFO info = {};
    ASSERT_EQ(S_OK, capture->QueryPinInfo(&info));
    EXPECT_EQ(PINDIR_OUTPUT, info.dir);
    EXPECT_STREQ(L"Capture", info.achName);
    EXPECT_EQ(camera.Get(), info.pFilter);
    info.pFilter->Release();
    LPWSTR id = nullptr;
    ASSERT_EQ(S_OK, capture->QueryId(&id));
    EXPECT_STREQ(L"Capture", id);
    CoTaskMemFree(id);

    ComPtr<IPin> peer;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, capture->ConnectedTo(&peer));
    EXPECT_EQ(nullptr, peer.Get());
    AM_MEDIA_TYPE mt;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, capture->ConnectionMediaType(&mt));
    EXPECT_EQ(S_FALSE, capture->Disconnect());
    EXPECT_EQ(E_UNEXPECTED, capture->EndOfStream());
    EXPECT_EQ(E_UNEXPECTED, capture->BeginFlush());
    EXPECT_EQ(E_UNEXPECTED, capture->EndFlush());
    EXPECT_EQ(E_UNEXPECTED, capture->ReceiveConnection(capture.Get(), &mt));
    ComPtr<IQualityControl> quality;
    ASSERT_EQ(S_OK, capture.As(&quality));
    Quality late = {Famine, 500, -10000000, 0};
    EXPECT_EQ(S_OK, quality->Notify(camera.Get(), late));
}

TEST_F(VcamPin, ConnectsNegotiatesAllocatorAndRefusesWhatItMust)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ComPtr<IPin> peer;
    ASSERT_NO_FATAL_FAILURE(ConnectToGrabber(graph, recorder, &peer));
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, capture->ConnectionMediaType(&mt));
    EXPECT_EQ(640, VideoInfoOf(mt)->bmiHeader.biWidth);
    CoTaskMemFree(mt.pbFormat);

    // The allocator that the grabber was told about holds a whole image.
    ComPtr<IMemInputPin> input;
    ASSERT_EQ(S_OK, peer.As(&input));
    ComPtr<IMemAllocator> allocator;
    ASSERT_EQ(S_OK, input->GetAllocator(&allocator));
    ALLOCATOR_PROPERTIES props = {};
    ASSERT_EQ(S_OK, allocator->GetProperties(&props));
    EXPECT_GE(props.cbBuffer, 640 * 480 * 3);
    EXPECT_GE(props.cBuffers, 1);

    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, capture->Connect(peer.Get(), nullptr));
    EXPECT_EQ(E_POINTER, capture->Connect(nullptr, nullptr));

    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
    EXPECT_EQ(VFW_E_NOT_STOPPED, capture->Disconnect());
    OwnedMediaType small(320, 240, 0);
    EXPECT_EQ(VFW_E_NOT_STOPPED, config->SetFormat(&small.mt));
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
}

TEST_F(VcamPin, ConnectionRulesWithoutAGraphBuilder)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ComPtr<IPin> peer;
    ASSERT_NO_FATAL_FAILURE(ConnectToGrabber(graph, recorder, &peer));
    ASSERT_EQ(S_OK, peer->Disconnect());
    ASSERT_EQ(S_OK, capture->Disconnect());

    // Another output pin is no partner.
    ComPtr<IPin> grabberOut = FirstPin(graph.grabberFilter.Get(), PINDIR_OUTPUT);
    ASSERT_EQ(S_OK, grabberOut->Disconnect());
    EXPECT_EQ(VFW_E_INVALID_DIRECTION, capture->Connect(grabberOut.Get(), nullptr));

    // A complete type the camera does not make is refused; a partial one is completed.
    OwnedMediaType odd(100, 100, 0);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, capture->Connect(peer.Get(), &odd.mt));
    AM_MEDIA_TYPE partial = {};
    partial.majortype = MEDIATYPE_Video;
    partial.subtype = MEDIASUBTYPE_RGB24;
    ASSERT_EQ(S_OK, capture->Connect(peer.Get(), &partial));
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, capture->ConnectionMediaType(&mt));
    EXPECT_EQ(FORMAT_VideoInfo, mt.formattype);
    CoTaskMemFree(mt.pbFormat);
}

TEST_F(VcamPin, SetFormatWhileConnectedReconnectsThroughTheGraph)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    OwnedMediaType small(320, 240, 666666);
    ASSERT_EQ(S_OK, config->SetFormat(&small.mt));

    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, capture->ConnectionMediaType(&mt));
    const VIDEOINFOHEADER* vih = VideoInfoOf(mt);
    ASSERT_TRUE(vih);
    EXPECT_EQ(320, vih->bmiHeader.biWidth);
    EXPECT_EQ(666666, vih->AvgTimePerFrame);
    CoTaskMemFree(mt.pbFormat);
    ComPtr<IPin> peer;
    EXPECT_EQ(S_OK, capture->ConnectedTo(&peer));
}
