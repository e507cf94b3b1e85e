// The camera as the program watches it: frame counts on the capture pin
// (IAMDroppedFrames), an unplug and a replug raised as graph events, and early frames
// stamped in stream time so that a clocked renderer never holds them.
#include <gtest/gtest.h>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "comkit/InterfaceIds.h"

namespace {

class VcamDeviceLoss : public ::testing::Test
{
protected:
    // The next event of the graph within the deadline, or code 0.
    long NextEvent(IGraphBuilder* graph, LONG_PTR* param1, LONG_PTR* param2, long deadlineMs)
    {
        ComPtr<IMediaEvent> events;
        if (FAILED(graph->QueryInterface(IID_PPV_ARGS(&events))))
            return 0;
        long code = 0;
        if (events->GetEvent(&code, param1, param2, deadlineMs) != S_OK)
            return 0;
        events->FreeEventParams(code, *param1, *param2);
        return code;
    }

    ComApartment com;
    DeviceScope devices;
};

TEST_F(VcamDeviceLoss, UnplugAndReplugAreGraphEventsAndTheCaptureCountStops)
{
    DeviceSettings settings;
    settings.stopAfterFrames = 7;
    settings.faults = VcamFault::Unplug | VcamFault::Replug;
    settings.previewPin = true;
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Unplugged Camera", settings);
    ASSERT_TRUE(camera);
    ComPtr<IAMDroppedFrames> counts;
    ASSERT_EQ(S_OK, PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).As(&counts));
    ComPtr<IAMDroppedFrames> previewCounts;
    EXPECT_EQ(E_NOINTERFACE, PinOfCategory(camera.Get(), PIN_CATEGORY_PREVIEW).As(&previewCounts));

    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
    LONG_PTR param1 = 0, param2 = 0;
    ASSERT_EQ(EC_DEVICE_LOST, NextEvent(graph.graph.Get(), &param1, &param2, 5000));
    EXPECT_EQ(0, param2);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(camera.Get()), param1);
    long sent = -1, dropped = -1;
    EXPECT_EQ(S_OK, counts->GetNumNotDropped(&sent));
    EXPECT_EQ(S_OK, counts->GetNumDropped(&dropped));
    EXPECT_EQ(7, sent);
    EXPECT_EQ(0, dropped);
    EXPECT_EQ(7u, recorder.Count());
    ASSERT_EQ(EC_DEVICE_LOST, NextEvent(graph.graph.Get(), &param1, &param2, 5000));
    EXPECT_EQ(1, param2) << "the camera did not come back";
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
}

// The graph starts its streams a little after Run; frames taken meanwhile carry negative
// stream times, so the renderer passes them on at once instead of holding them.
TEST_F(VcamDeviceLoss, EarlyFramesCarryNegativeTimesAndAreNotHeld)
{
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Early Camera");
    ASSERT_TRUE(camera);
    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    const LONGLONG runAt = NowUs();
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
    while (NowUs() < runAt + 2500000)
        Sleep(50);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_LT(frames.front().start, 0);
    size_t early = 0;
    for (const FrameRecord& frame : frames)
        early += frame.arrivalUs < runAt + 2000000;
    std::printf("vcam: %zu frames in the first 2 s after Run, first stamped %lld\n", early,
                static_cast<long long>(frames.front().start));
    EXPECT_GE(early, 59u);
}

} // namespace
