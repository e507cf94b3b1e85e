// The graph builders on their own: no dialog, a plain window for the video.
#include "CaptureHarness.h"

#include "capture/ErrorTexts.h"
#include "capture/GraphTeardown.h"
#include "capture/PreviewGraph.h"
#include "capture/RecordingGraph.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBuffer.h"
#include "support/VideoProbe.h"

namespace
{
class GraphBuildTest : public CaptureComponentTest
{
protected:
    void SetUp() override
    {
        CaptureComponentTest::SetUp();
        window = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        CaptureComponentTest::TearDown();
    }

    std::string WindowText()
    {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    HWND window = nullptr;
    support::TempFolder folder;
};

TEST_F(GraphBuildTest, PreviewGraphRunsFramesIntoTheCallback)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    int formatIndex = 1;
    PreviewGraph preview = AssemblePreviewGraph(window, formatIndex, &FrameGrabCallback);
    ASSERT_EQ(S_OK, preview.status.hr) << preview.status.failedStep;
    EXPECT_EQ("Generic USB Camera", WindowText());
    EXPECT_EQ(320, preview.frameWidth);
    EXPECT_EQ(240, preview.frameHeight);

    const LONG seen = GrabBuffer.framesSeen.load();
    ASSERT_EQ(S_OK, StartGraph(preview.graph.Get(), {window, nullptr}, VideoWindowOrder::StyleFirst).hr);
    EXPECT_TRUE(GraphRuns(preview.graph.Get()));
    EXPECT_TRUE(PumpUntil([&] { return GrabBuffer.framesSeen.load() > seen + 5; }, 10000));

    ReleaseGraph(preview.graph);
    preview.grabber.Reset();
    EXPECT_EQ(nullptr, preview.graph.Get());
    EXPECT_EQ(0, VcamLiveObjects());
}

TEST_F(GraphBuildTest, RecordingGraphWritesAPlayableClipAtItsRate)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    int formatIndex = 7;  // past the five formats: back to the first
    RecordingGraph recording =
        AssembleRecordingGraph(window, formatIndex, 15, folder.WindowsFile("clip.avi").c_str());
    ASSERT_EQ(S_OK, recording.status.hr) << recording.status.failedStep;
    EXPECT_EQ(0, formatIndex);
    EXPECT_EQ(666666, recording.frameInterval);
    ASSERT_NE(nullptr, recording.frameCounter.Get());

    ASSERT_EQ(S_OK, StartGraph(recording.graph.Get(), {window, nullptr}, VideoWindowOrder::VisibleFirst).hr);
    long sent = 0;
    EXPECT_TRUE(PumpUntil(
        [&] { return SUCCEEDED(recording.frameCounter->GetNumNotDropped(&sent)) && sent >= 20; }, 15000));
    recording.frameCounter.Reset();
    ReleaseGraph(recording.graph);

    const support::VideoProbe probe = support::ProbeVideo(folder.UnixFile("clip.avi"));
    ASSERT_TRUE(probe.readable) << probe.log;
    EXPECT_EQ(640, probe.width);
    EXPECT_NEAR(15.0, probe.fps, 0.01);
    EXPECT_GE(probe.decodedFrames, 10);
    EXPECT_EQ(0, VcamLiveObjects());
}

TEST_F(GraphBuildTest, AFailedStepIsNamedAndItsGraphHandedOut)
{
    int formatIndex = 0;
    PreviewGraph preview = AssemblePreviewGraph(window, formatIndex, &FrameGrabCallback);
    EXPECT_EQ(E_FAIL, preview.status.hr);
    EXPECT_TRUE(preview.status.noCamera);
    EXPECT_STREQ(ErrorText::kNoCamera, preview.status.failedStep);
    EXPECT_NE(nullptr, preview.graph.Get());
    EXPECT_EQ(nullptr, preview.grabber.Get());

    AddDevices({Device(L"01", L"Generic USB Camera")});
    const std::string missingFolder = folder.WindowsFile("missing\\clip.avi");
    RecordingGraph recording = AssembleRecordingGraph(window, formatIndex, 30, missingFolder.c_str());
    EXPECT_TRUE(recording.status.Failed());
    EXPECT_FALSE(recording.status.noCamera);
    EXPECT_STREQ(ErrorText::kMuxAndWriter, recording.status.failedStep);
    ReleaseGraph(recording.graph);
    ReleaseGraph(preview.graph);
    EXPECT_EQ(0, VcamLiveObjects());
}
}  // namespace
