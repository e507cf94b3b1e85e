// The camera under Wine's capture graph builder, as a capture program drives it.
#include <gtest/gtest.h>

#include <vector>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "capture/QeditClsids.h"

namespace
{

class VcamCaptureBuilder : public ::testing::Test
{
protected:
    void Build(const DeviceSettings& settings)
    {
        camera = devices.Add(L"Tarnview Builder Camera", settings);
        ASSERT_TRUE(camera);
        ASSERT_EQ(S_OK,
                  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&builder)));
        ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
        ASSERT_EQ(S_OK, graph->AddFilter(camera.Get(), L"Camera"));
    }

    // camera stream -> grabber -> null renderer, as RenderStream builds it.
    HRESULT Render(const GUID& category, FrameRecorder* recorder)
    {
        ComPtr<IBaseFilter> grabberFilter, renderer;
        HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(&grabberFilter));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer));
        if (FAILED(hr))
            return hr;
        graph->AddFilter(grabberFilter.Get(), nullptr);
        graph->AddFilter(renderer.Get(), nullptr);
        ComPtr<ISampleGrabber> grabber;
        grabberFilter.As(&grabber);
        grabber->SetBufferSamples(FALSE);
        grabber->SetCallback(recorder, 0);
        recorder->width = 640;
        recorder->height = 480;
        rendered.push_back(recorder);
        return builder->RenderStream(&category, &MEDIATYPE_Video, camera.Get(), grabberFilter.Get(),
                                     renderer.Get());
    }

    bool GraphHasSmartTee()
    {
        ComPtr<IEnumFilters> filters;
        graph->EnumFilters(&filters);
        ComPtr<IBaseFilter> filter;
        while (filters->Next(1, &filter, nullptr) == S_OK)
        {
            CLSID clsid;
            if (SUCCEEDED(filter->GetClassID(&clsid)) && clsid == CLSID_SmartTee)
                return true;
        }
        return false;
    }

    // Runs until every rendered stream brought a few frames.
    void RunBriefly()
    {
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph.As(&control));
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Running));
        for (FrameRecorder* recorder : rendered)
            recorder->WaitFor(5);
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Stopped));
    }

    ComApartment com;
    DeviceScope devices;
    FrameRecorder captured, previewed;  // outlive the graph, whose grabbers call them
    std::vector<FrameRecorder*> rendered;
    ComPtr<IBaseFilter> camera;
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
};

void ExpectIncreasingNumbers(FrameRecorder& recorder)
{
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(frames.size(), 5u);
    for (size_t i = 1; i < frames.size(); ++i)
    {
        ASSERT_TRUE(frames[i].numbered);
        EXPECT_EQ(frames[i - 1].number + 1, frames[i].number);
    }
}

}  // namespace

TEST_F(VcamCaptureBuilder, WithoutPreviewPinBothStreamsGoThroughASmartTee)
{
    Build(DeviceSettings());
    ASSERT_EQ(S_OK, Render(PIN_CATEGORY_CAPTURE, &captured));
    EXPECT_EQ(VFW_S_NOPREVIEWPIN, Render(PIN_CATEGORY_PREVIEW, &previewed));
    EXPECT_TRUE(GraphHasSmartTee());

    ComPtr<IAMStreamConfig> config;
    EXPECT_EQ(S_OK, builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(),
                                           IID_PPV_ARGS(&config)));
    ComPtr<IPin> videoPort;
    EXPECT_NE(S_OK, builder->FindPin(camera.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_VIDEOPORT, nullptr, FALSE, 0,
                                     &videoPort));
    RunBriefly();
    ExpectIncreasingNumbers(captured);
    EXPECT_GE(previewed.Count(), 5u);
}

// The Smart Tee's preview stream carries no times, so nothing downstream holds the
// frames: they flow from Run, stop while paused and flow again with the next numbers
// after a resume.
TEST_F(VcamCaptureBuilder, PreviewFramesFlowFromRunAndAgainAfterAResume)
{
    Build(DeviceSettings());
    ASSERT_EQ(VFW_S_NOPREVIEWPIN, Render(PIN_CATEGORY_PREVIEW, &previewed));
    ComPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, graph.As(&control));
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_TRUE(previewed.WaitFor(10));
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    Sleep(300);  // a frame already on its way lands before the count
    const size_t atPause = previewed.Count();
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_TRUE(previewed.WaitFor(atPause + 5)) << "a resumed camera captures again";
    ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Stopped));
    ExpectIncreasingNumbers(previewed);
}

TEST_F(VcamCaptureBuilder, PreviewPinIsRenderedDirectlyWithTheSameFrames)
{
    DeviceSettings settings;
    settings.previewPin = true;
    Build(settings);
    ASSERT_EQ(S_OK, Render(PIN_CATEGORY_CAPTURE, &captured));
    ASSERT_EQ(S_OK, Render(PIN_CATEGORY_PREVIEW, &previewed));
    EXPECT_FALSE(GraphHasSmartTee());
    ComPtr<IPin> peer;
    EXPECT_EQ(S_OK, PinOfCategory(camera.Get(), PIN_CATEGORY_PREVIEW)->ConnectedTo(&peer));
    RunBriefly();
    ExpectIncreasingNumbers(captured);
    ExpectIncreasingNumbers(previewed);
}

TEST_F(VcamCaptureBuilder, VideoPortPinIsFound)
{
    DeviceSettings settings;
    settings.videoPortPin = true;
    Build(settings);
    ComPtr<IPin> videoPort;
    ASSERT_EQ(S_OK, builder->FindPin(camera.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_VIDEOPORT, nullptr, FALSE, 0,
                                     &videoPort));
    EXPECT_EQ(PIN_CATEGORY_VIDEOPORT, CategoryOf(videoPort.Get()));
    // It offers the same RGB24 types.
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, videoPort->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, types->Next(1, &mt, nullptr));
    EXPECT_EQ(MEDIASUBTYPE_RGB24, mt->subtype);
    DeleteMediaType(mt);

    // With it unconnected, the capture stream still renders as usual.
    EXPECT_EQ(S_OK, Render(PIN_CATEGORY_CAPTURE, &captured));
    RunBriefly();
    ExpectIncreasingNumbers(captured);
}
