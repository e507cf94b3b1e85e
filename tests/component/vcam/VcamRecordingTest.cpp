// A recording through Wine's AVI mux and file writer, connected by hand, read back with
// ffprobe and ffmpeg: the right number of frames, size, and consecutive frame numbers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "support/DeviceLookup.h"
#include "support/TempFolder.h"
#include "support/VideoProbe.h"

namespace
{

// Wine's own file writer offers the mux no IStream, so its mux cannot run: the mux and
// writer come from the capture graph builder, which the project's Wine prefix replaces
// with one that writes files (tarnview-winecompat). The camera is connected by hand, or
// by RenderStream as the program does it (through a Smart Tee for a camera without a
// preview pin).
enum class Route
{
    ByHand,
    RenderStream
};

HRESULT BuildRecording(IGraphBuilder* graph, IBaseFilter* camera, const std::wstring& file, Route route)
{
    ComPtr<ICaptureGraphBuilder2> builder;
    HRESULT hr =
        CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder));
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(graph);
    if (FAILED(hr))
        return hr;
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, file.c_str(), &mux, &sink);
    if (FAILED(hr))
        return hr;
    graph->AddFilter(camera, L"Camera");
    if (route == Route::RenderStream)
        return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, mux.Get());
    return graph->Connect(PinOfCategory(camera, PIN_CATEGORY_CAPTURE).Get(),
                          FirstPin(mux.Get(), PINDIR_INPUT).Get());
}

class VcamRecording : public ::testing::Test
{
protected:
    // Records `ms` from the Run call to the Stop call, then reads the file's stream back.
    void Record(IBaseFilter* camera, Route route, DWORD ms)
    {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK,
                  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
        const HRESULT hr =
            BuildRecording(graph.Get(), camera, std::wstring(windowsAvi.begin(), windowsAvi.end()), route);
        if (hr == E_NOTIMPL)
            GTEST_SKIP() << "the capture graph builder writes no files (tarnview-winecompat not registered)";
        ASSERT_EQ(S_OK, hr);
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph.As(&control));
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Running));
        Sleep(ms);
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Stopped));
        counted = support::FramesCounted(camera);
        graph.Reset();
        probe = support::ProbeVideo(unixAvi);
        std::printf("vcam recording: %ld frames of %dx%d in %lu ms\n", probe.decodedFrames, probe.width,
                    probe.height, ms);
    }

    // Every frame in the file, in order, by the numbers stamped into the pictures.
    void ExpectConsecutiveFrames(LONG width, size_t atLeast)
    {
        int unreadable = 0;
        const std::vector<uint32_t> numbers = support::StampedFrameNumbers(unixAvi, width, &unreadable);
        EXPECT_EQ(0, unreadable);
        ASSERT_GE(numbers.size(), atLeast);
        for (size_t i = 1; i < numbers.size(); ++i)
            EXPECT_EQ(numbers[i - 1] + 1, numbers[i]) << "frame " << i;
    }

    ComApartment com;
    DeviceScope devices;
    support::TempFolder folder{"vcam"};
    const std::string unixAvi = folder.UnixFile("recording.avi");
    const std::string windowsAvi = folder.WindowsFile("recording.avi");
    support::VideoProbe probe;
    support::CameraCounts counted;
};

}  // namespace

// Every frame the camera sent is in the file, in order, at the camera's rate.
TEST_F(VcamRecording, TwoSecondsAtThirtyFramesPerSecond)
{
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Recording Camera");
    ASSERT_TRUE(camera);
    Record(camera.Get(), Route::ByHand, 2000);
    if (IsSkipped() || HasFatalFailure())
        return;
    support::ExpectVideo(probe, 640, 480, 30.0, counted.sent, counted.dropped);
    support::ExpectCountedFrames(probe, counted.sent, counted.dropped);
    ExpectConsecutiveFrames(640, counted.sent);
}

// A camera whose own format is a VIDEOINFOHEADER2 also offers each format with a
// VIDEOINFOHEADER, which is all Wine's AVI mux takes, also behind a Smart Tee.
TEST_F(VcamRecording, VideoInfo2CameraRecordsAtItsOwnRate)
{
    DeviceSettings settings;
    settings.videoInfo2 = true;
    settings.fps = 20;
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Recording Camera", settings);
    ASSERT_TRUE(camera);
    AM_MEDIA_TYPE* format = nullptr;
    ASSERT_EQ(S_OK,
              StreamConfigOf(PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).Get())->GetFormat(&format));
    const GUID formatType = format->formattype;
    DeleteMediaType(format);
    EXPECT_EQ(FORMAT_VideoInfo2, formatType);

    Record(camera.Get(), Route::RenderStream, 2000);
    if (IsSkipped() || HasFatalFailure())
        return;
    support::ExpectVideo(probe, 640, 480, 20.0, counted.sent, counted.dropped);
    support::ExpectCountedFrames(probe, counted.sent, counted.dropped);
    ExpectConsecutiveFrames(640, counted.sent);
}
