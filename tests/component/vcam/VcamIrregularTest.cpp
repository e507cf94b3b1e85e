// What real cameras do to the stream: exposures longer than the frame interval, a late
// first frame, jitter and a burst of dropped frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "GrabGraph.h"
#include "VcamTestSupport.h"

namespace
{

constexpr REFERENCE_TIME Second = 10000000;
constexpr REFERENCE_TIME At30 = 333333;

class VcamIrregular : public ::testing::Test
{
protected:
    // Streams a device with these settings until `count` frames came (or a generous
    // deadline passed); the run starts at *runAtUs.
    std::vector<FrameRecord> Stream(const DeviceSettings& settings, size_t count, LONGLONG* runAtUs = nullptr)
    {
        ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Irregular Camera", settings);
        if (!camera)
            return {};
        PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).As(&dropped);
        FrameRecorder recorder;
        GrabGraph graph;
        EXPECT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
        if (runAtUs)
            *runAtUs = NowUs();
        EXPECT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
        recorder.WaitFor(count);
        EXPECT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
        return recorder.Frames();
    }

    ComApartment com;
    DeviceScope devices;
    ComPtr<IAMDroppedFrames> dropped;
};

// Stamps one `interval` long, on the grid, numbers consecutive.
void ExpectGrid(const std::vector<FrameRecord>& frames, REFERENCE_TIME interval)
{
    for (size_t i = 0; i < frames.size(); ++i)
    {
        ASSERT_TRUE(frames[i].numbered) << "frame " << i;
        EXPECT_EQ(interval, frames[i].stop - frames[i].start) << "frame " << i;
        EXPECT_EQ(0, (frames[i].start - frames[0].start) % interval) << "frame " << i;
        if (i > 0)
            EXPECT_EQ(frames[i - 1].number + 1, frames[i].number) << "frame " << i;
    }
}

LONGLONG AvgTimePerFrameOf(IBaseFilter* camera)
{
    AM_MEDIA_TYPE* mt = nullptr;
    if (StreamConfigOf(PinOfCategory(camera, PIN_CATEGORY_CAPTURE).Get())->GetFormat(&mt) != S_OK)
        return -1;
    TaskMediaType owned(mt);
    return VideoInfoOf(*owned)->AvgTimePerFrame;
}

}  // namespace

TEST_F(VcamIrregular, AnExposureLongerThanTheIntervalSetsTheFramePace)
{
    DeviceSettings settings;
    settings.scene.exposure = 7 * Second / 10;
    const std::vector<FrameRecord> frames = Stream(settings, 4);
    ASSERT_GE(frames.size(), 4u);
    ExpectGrid(frames, 7 * Second / 10);
    ExpectNoFasterThanStamped(frames);
}

TEST_F(VcamIrregular, CameraControlExposureIsLog2SecondsAndSetsAvgTimePerFrame)
{
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Exposure Camera");
    ASSERT_TRUE(camera);
    ComPtr<IAMCameraControl> control;
    ASSERT_EQ(S_OK, camera.As(&control));
    long min = 0, max = 0, step = 0, preset = 0, flags = 0;
    ASSERT_EQ(S_OK, control->GetRange(CameraControl_Exposure, &min, &max, &step, &preset, &flags));
    EXPECT_LE(min, -5);
    EXPECT_GE(max, 4) << "exposures of 10 s and more";
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, control->Set(CameraControl_Focus, 0, CameraControl_Flags_Manual));
    EXPECT_EQ(E_INVALIDARG, control->Set(CameraControl_Exposure, max + 1, CameraControl_Flags_Manual));

    EXPECT_EQ(At30, AvgTimePerFrameOf(camera.Get()));
    ASSERT_EQ(S_OK, control->Set(CameraControl_Exposure, 2, CameraControl_Flags_Manual));
    long value = 0;
    ASSERT_EQ(S_OK, control->Get(CameraControl_Exposure, &value, &flags));
    EXPECT_EQ(2, value);
    EXPECT_EQ(CameraControl_Flags_Manual, flags);
    EXPECT_EQ(4 * Second, AvgTimePerFrameOf(camera.Get())) << "4 s per frame";
    ASSERT_EQ(S_OK, control->Set(CameraControl_Exposure, -6, CameraControl_Flags_Manual));
    EXPECT_EQ(At30, AvgTimePerFrameOf(camera.Get())) << "1/64 s fits in a 30 fps frame";
    ASSERT_EQ(S_OK, control->Set(CameraControl_Exposure, 0, CameraControl_Flags_Auto));
    ASSERT_EQ(S_OK, control->Get(CameraControl_Exposure, &value, &flags));
    EXPECT_EQ(CameraControl_Flags_Auto, flags);
}

TEST_F(VcamIrregular, TheFirstFrameComesLateStampedWhenItCame)
{
    DeviceSettings settings;
    settings.firstFrameDelay = 3 * Second / 2;
    LONGLONG runAt = 0;
    const std::vector<FrameRecord> frames = Stream(settings, 5, &runAt);
    ASSERT_GE(frames.size(), 5u);
    EXPECT_GE(frames[0].arrivalUs - runAt, 1500000);
    EXPECT_GT(frames[0].start, Second) << "stamped in stream time when it came";
    EXPECT_EQ(0u, frames[0].number);
    ExpectGrid(frames, At30);
}

TEST_F(VcamIrregular, JitteredFramesKeepTheirStampsAndNumbers)
{
    DeviceSettings settings;
    settings.fps = 10;
    settings.jitter = Second / 10;
    const std::vector<FrameRecord> frames = Stream(settings, 12);
    ASSERT_GE(frames.size(), 12u);
    ExpectGrid(frames, Second / 10);
    LONGLONG widest = 0;
    for (size_t i = 2; i < frames.size(); ++i)
        widest = std::max(widest, frames[i].arrivalUs - frames[i - 1].arrivalUs);
    EXPECT_GT(widest, 120000) << "every frame came on time";
}

TEST_F(VcamIrregular, ADropBurstSkipsNumbersAndStampsAndIsCounted)
{
    DeviceSettings settings;
    settings.dropFrom = 5;
    settings.dropCount = 4;
    const std::vector<FrameRecord> frames = Stream(settings, 10);
    ASSERT_GE(frames.size(), 10u);
    ASSERT_TRUE(frames[5].numbered);
    EXPECT_EQ(4u, frames[4].number);
    EXPECT_EQ(9u, frames[5].number);
    EXPECT_GE(frames[5].start - frames[4].start, 5 * At30) << "the dropped frames' slots stay empty";
    EXPECT_EQ(0, (frames[5].start - frames[4].start) % At30);
    ASSERT_TRUE(dropped);
    long count = 0;
    ASSERT_EQ(S_OK, dropped->GetNumDropped(&count));
    EXPECT_GE(count, 4);
}
