// The camera as the program watches it: frame counts on the capture pin
// (IAMDroppedFrames), an unplug and a replug raised as graph events.
#include <gtest/gtest.h>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "comkit/InterfaceIds.h"

namespace
{

class VcamDeviceLoss : public ::testing::Test
{
protected:
    // The next EC_DEVICE_LOST of the graph within the deadline (other events, such as
    // the graph's clock change, are passed over); false when none came.
    bool NextDeviceLost(IGraphBuilder* graph, LONG_PTR* param1, LONG_PTR* param2, DWORD deadlineMs)
    {
        ComPtr<IMediaEvent> events;
        if (FAILED(graph->QueryInterface(IID_PPV_ARGS(&events))))
            return false;
        const DWORD start = GetTickCount();
        long code = 0;
        while (GetTickCount() - start < deadlineMs)
        {
            if (events->GetEvent(&code, param1, param2, 100) != S_OK)
                continue;
            events->FreeEventParams(code, *param1, *param2);
            if (code == EC_DEVICE_LOST)
                return true;
        }
        return false;
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
    ASSERT_TRUE(NextDeviceLost(graph.graph.Get(), &param1, &param2, 30000));
    EXPECT_EQ(0, param2);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(camera.Get()), param1);
    long sent = -1, dropped = -1;
    EXPECT_EQ(S_OK, counts->GetNumNotDropped(&sent));
    EXPECT_EQ(S_OK, counts->GetNumDropped(&dropped));
    EXPECT_EQ(7, sent);
    ASSERT_EQ(7u, recorder.Count());
    // A loaded machine makes the camera skip slots: each one skipped is counted dropped.
    const std::vector<FrameRecord> frames = recorder.Frames();
    LONGLONG skipped = 0;
    for (size_t i = 1; i < frames.size(); ++i)
        skipped += (frames[i].start - frames[i - 1].stop) / (frames[i - 1].stop - frames[i - 1].start);
    EXPECT_EQ(skipped, dropped);
    ASSERT_TRUE(NextDeviceLost(graph.graph.Get(), &param1, &param2, 30000));
    EXPECT_EQ(1, param2) << "the camera did not come back";
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
}

}  // namespace
