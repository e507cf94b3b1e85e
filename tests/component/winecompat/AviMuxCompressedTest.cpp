// An MJPG camera's stream through the prefix's mux, read back by ffprobe: it stays MJPG,
// and the frames the camera dropped keep their time, so the clip lasts as it was sent.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <vector>

#include "FrameSource.h"
#include "JpegFrames.h"
#include "comkit/ComApartment.h"
#include "support/Pins.h"
#include "support/TempFolder.h"
#include "support/VideoProbe.h"

using Microsoft::WRL::ComPtr;
using support::FirstPin;

namespace
{

constexpr LONG kWidth = 320, kHeight = 240;
constexpr REFERENCE_TIME kInterval = 333333;

TEST(MuxCompressed, AnMjpgStreamWithDroppedFramesLastsAsLongAsItWasSent)
{
    comkit::ComApartment com;
    support::TempFolder dir("mjpg-mux");
    const std::vector<BYTE> jpeg =
        testframes::EncodeJpeg(testframes::MakeBarsBgr(kWidth, kHeight, 0), kWidth, kHeight);
    ASSERT_FALSE(jpeg.empty());
    ComPtr<IBaseFilter> source;
    testsource::FrameSource* frames = nullptr;
    const DWORD mjpg = MEDIASUBTYPE_MJPG.Data1;
    ASSERT_EQ(S_OK,
              testsource::CreateFrameSource(
                  testsource::VideoType(mjpg, kWidth, kHeight, 24, kWidth * kHeight * 3), &source, &frames));
    {
        ComPtr<ICaptureGraphBuilder2> builder;
        ComPtr<IBaseFilter> mux;
        ComPtr<IGraphBuilder> graph;
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&builder)));
        const std::string file = dir.WindowsFile("mjpg.avi");
        ASSERT_EQ(S_OK,
                  builder->SetOutputFileName(&MEDIASUBTYPE_Avi,
                                             std::wstring(file.begin(), file.end()).c_str(), &mux, nullptr));
        ASSERT_EQ(S_OK, builder->GetFiltergraph(&graph));
        ASSERT_EQ(S_OK, graph->AddFilter(source.Get(), L"Camera"));
        ASSERT_EQ(S_OK, graph->ConnectDirect(FirstPin(source.Get(), PINDIR_OUTPUT).Get(),
                                             FirstPin(mux.Get(), PINDIR_INPUT).Get(), nullptr));
        ASSERT_EQ(S_OK, graph.As(&control));
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        for (REFERENCE_TIME slot : {0, 1, 2, 5, 6})  // 3 and 4 dropped
            EXPECT_EQ(S_OK, testsource::SendFrame(frames, jpeg, slot * kInterval, (slot + 1) * kInterval));
        ASSERT_EQ(S_OK, control->Stop());
        graph->RemoveFilter(source.Get());
    }
    const support::VideoProbe probe = support::ProbeVideo(dir.UnixFile("mjpg.avi"));
    ASSERT_TRUE(probe.readable) << probe.log;
    EXPECT_FALSE(probe.errors) << probe.log;
    EXPECT_EQ("mjpeg", probe.codec);
    EXPECT_EQ(7, probe.headerFrames);
    EXPECT_NEAR(7 / 30.0, probe.seconds, 0.001) << probe.log;
    EXPECT_EQ(5, probe.decodedFrames);
}

}  // namespace
