// Frames on the streaming thread: rate, numbering, time stamps, sizes, state changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <ostream>
#include <string>

#include "GrabGraph.h"
#include "VcamTestSupport.h"

namespace
{

class VcamStream : public ::testing::Test
{
protected:
    ComApartment com;
    DeviceScope devices;
};

// Consecutive numbers, and stamps one interval long on the grid of the first frame's
// stamp. A camera that falls behind (a loaded machine) skips slots rather than
// stamping frames late, so slots may be skipped but never shared.
void ExpectConsecutive(const std::vector<FrameRecord>& frames, REFERENCE_TIME interval)
{
    ASSERT_FALSE(frames.empty());
    for (size_t i = 0; i < frames.size(); ++i)
    {
        ASSERT_TRUE(frames[i].numbered) << "frame " << i;
        EXPECT_EQ(frames[i].start + interval, frames[i].stop);
        EXPECT_EQ(0, (frames[i].start - frames[0].start) % interval)
            << "frame " << i << " is off the frame grid";
        if (i == 0)
            continue;
        EXPECT_EQ(frames[i - 1].number + 1, frames[i].number);
        EXPECT_LE(frames[i - 1].stop, frames[i].start) << "frame " << i;
    }
}

}  // namespace

class VcamStreamRate : public VcamStream, public ::testing::WithParamInterface<unsigned>
{};

TEST_P(VcamStreamRate, DeliversAtTheSetRateWithConsecutiveNumbers)
{
    const unsigned fps = GetParam();
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Rate Camera");
    ASSERT_TRUE(camera);
    const REFERENCE_TIME interval = 10000000 / fps;
    OwnedMediaType format(640, 480, interval);
    ASSERT_EQ(S_OK,
              StreamConfigOf(PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).Get())->SetFormat(&format.mt));

    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.BuildAndRun(camera.Get(), &recorder));
    // Two seconds of frames, however long a loaded machine takes to deliver them.
    EXPECT_TRUE(recorder.WaitFor(2 * fps + 2));
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));

    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(frames.size(), 2 * fps + 2);
    ExpectConsecutive(frames, interval);
    ExpectNoFasterThanStamped(frames);
    for (const FrameRecord& frame : frames)
        EXPECT_EQ(640 * 480 * 3, frame.length);
}

INSTANTIATE_TEST_SUITE_P(Rates, VcamStreamRate, ::testing::Values(1u, 15u, 30u));

struct SizeCase
{
    int capability;
    LONG width, height;
    long imageSize;
};

class VcamStreamSize : public VcamStream, public ::testing::WithParamInterface<SizeCase>
{};

TEST_P(VcamStreamSize, EachFormatDeliversItsLayout)
{
    const SizeCase c = GetParam();
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Size Camera");
    ASSERT_TRUE(camera);
    ComPtr<IAMStreamConfig> config = StreamConfigOf(PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).Get());
    AM_MEDIA_TYPE* mt = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps;
    ASSERT_EQ(S_OK, config->GetStreamCaps(c.capability, &mt, reinterpret_cast<BYTE*>(&caps)));
    const HRESULT setHr = config->SetFormat(mt);
    DeleteMediaType(mt);
    ASSERT_EQ(S_OK, setHr);

    FrameRecorder recorder;
    GrabGraph graph;
    ASSERT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    EXPECT_EQ(c.width, recorder.width);
    EXPECT_EQ(c.height, recorder.height);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Running));
    recorder.WaitFor(5);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(frames.size(), 5u);
    ExpectConsecutive(frames, 333333);  // the stamp reads back only with the right row order and stride
    EXPECT_EQ(c.imageSize, frames.front().length);
}

INSTANTIATE_TEST_SUITE_P(Formats, VcamStreamSize,
                         ::testing::Values(SizeCase{0, 640, 480, 921600}, SizeCase{1, 320, 240, 230400},
                                           SizeCase{2, 1280, 960, 3686400}, SizeCase{3, 642, 480, 1928 * 480},
                                           SizeCase{4, 640, -480, 921600}));

TEST_F(VcamStream, StatesAsALiveSource)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ComPtr<IBaseFilter> camera = graph.AddCamera(devices, L"Tarnview State Camera", &recorder);
    ASSERT_TRUE(camera);

    FILTER_STATE state;
    EXPECT_EQ(S_OK, camera->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
    EXPECT_EQ(E_POINTER, camera->GetState(0, nullptr));

    ASSERT_TRUE(SUCCEEDED(graph.control->Pause()));
    EXPECT_EQ(VFW_S_CANT_CUE, camera->GetState(0, &state));
    EXPECT_EQ(State_Paused, state);
    OAFilterState graphState;
    EXPECT_EQ(VFW_S_CANT_CUE, graph.control->GetState(1000, &graphState));
    Sleep(300);
    EXPECT_EQ(0u, recorder.Count()) << "a paused camera sends nothing";

    ASSERT_TRUE(SUCCEEDED(graph.control->Run()));
    EXPECT_EQ(S_OK, camera->GetState(0, &state));
    EXPECT_EQ(State_Running, state);
    EXPECT_TRUE(recorder.WaitFor(10));
    ASSERT_TRUE(SUCCEEDED(graph.control->Pause()));
    Sleep(100);
    const size_t atPause = recorder.Count();
    Sleep(300);
    EXPECT_EQ(atPause, recorder.Count());
    ASSERT_TRUE(SUCCEEDED(graph.control->Run()));
    EXPECT_TRUE(recorder.WaitFor(atPause + 10));
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    EXPECT_EQ(S_OK, camera->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
    const size_t atStop = recorder.Count();
    Sleep(300);
    EXPECT_EQ(atStop, recorder.Count()) << "no frame after Stop returned";

    // Numbers run on across the pause; stream times never go backwards.
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GT(frames.size(), atPause + 5);
    for (size_t i = 1; i < frames.size(); ++i)
    {
        EXPECT_EQ(frames[i - 1].number + 1, frames[i].number);
        EXPECT_LE(frames[i - 1].stop, frames[i].start);
    }
}

struct SubtypeCase
{
    const wchar_t* formats;
    DWORD fourCc;  // BI_RGB for RGB24
    WORD bitCount;
    DWORD imageSize;
};

void PrintTo(const SubtypeCase& c, std::ostream* out)
{
    *out << std::string(c.formats, c.formats + wcslen(c.formats));
}

class VcamStreamSubtype : public VcamStream, public ::testing::WithParamInterface<SubtypeCase>
{};

TEST_P(VcamStreamSubtype, DeliversItsMediaTypeAndAReadableStamp)
{
    const SubtypeCase c = GetParam();
    DeviceSettings settings;
    ASSERT_TRUE(ParseFormats(c.formats, &settings.formats));
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Subtype Camera", settings);
    ASSERT_TRUE(camera);
    FrameRecorder recorder;
    GrabGraph graph;
    if (c.fourCc != BI_RGB)
    {
        graph.subtype = MEDIASUBTYPE_YUY2;  // the FOURCC GUID pattern
        graph.subtype.Data1 = c.fourCc;
    }
    ASSERT_EQ(S_OK, graph.BuildAndRun(camera.Get(), &recorder));
    recorder.WaitFor(5);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));

    ASSERT_EQ(FORMAT_VideoInfo, graph.connected.formattype);
    const BITMAPINFOHEADER& header = VideoInfoOf(graph.connected)->bmiHeader;
    EXPECT_EQ(c.fourCc, header.biCompression);
    EXPECT_EQ(c.bitCount, header.biBitCount);
    EXPECT_EQ(c.imageSize, header.biSizeImage);
    const bool jpeg = c.fourCc == MAKEFOURCC('M', 'J', 'P', 'G');
    EXPECT_EQ(!jpeg, graph.connected.bFixedSizeSamples != FALSE);
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(frames.size(), 5u);
    ExpectConsecutive(frames, 333333);  // the stamp survives the conversion
    for (const FrameRecord& frame : frames)
    {
        EXPECT_TRUE(frame.syncPoint);
        if (jpeg)
            EXPECT_LT(frame.length, static_cast<long>(c.imageSize) / 4) << "a JPEG, not a bitmap";
        else
            EXPECT_EQ(static_cast<long>(c.imageSize), frame.length);
    }
}

INSTANTIATE_TEST_SUITE_P(Subtypes, VcamStreamSubtype,
                         ::testing::Values(SubtypeCase{L"RGB24:640x480", BI_RGB, 24, 921600},
                                           SubtypeCase{L"YUY2:640x480", MAKEFOURCC('Y', 'U', 'Y', '2'), 16, 614400},
                                           SubtypeCase{L"UYVY:640x480", MAKEFOURCC('U', 'Y', 'V', 'Y'), 16, 614400},
                                           SubtypeCase{L"I420:640x480", MAKEFOURCC('I', '4', '2', '0'), 12, 460800},
                                           SubtypeCase{L"NV12:640x480", MAKEFOURCC('N', 'V', '1', '2'), 12, 460800},
                                           SubtypeCase{L"MJPG:1280x960", MAKEFOURCC('M', 'J', 'P', 'G'), 24,
                                                       3686400}));

TEST_F(VcamStream, SamplesCarryTheClockAndStreamTime)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ComPtr<IBaseFilter> camera = graph.AddRunningCamera(devices, L"Tarnview Clock Camera", &recorder);
    ASSERT_TRUE(camera);
    ComPtr<IReferenceClock> clock;
    ASSERT_EQ(S_OK, camera->GetSyncSource(&clock));
    ASSERT_TRUE(clock) << "the graph hands its clock to the camera";
    recorder.WaitFor(30);
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));
    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(frames.size(), 30u);
    // Stream time stays on the frame grid: no drift over a second.
    ExpectConsecutive(frames, 333333);
}

// Capture begins when the camera is run, not at the graph's later stream start: the
// first frame is stamped in stream time before the stream start (so negative), later
// ones count intervals from there, and a resumed stream never goes back behind where
// it paused.
TEST_F(VcamStream, StampsCountFromTheStartOfCapture)
{
    FrameRecorder recorder;
    GrabGraph graph;
    ComPtr<IBaseFilter> camera = graph.AddCamera(devices, L"Tarnview Stamp Camera", &recorder);
    ASSERT_TRUE(camera);
    ASSERT_TRUE(SUCCEEDED(graph.control->Pause()));
    ASSERT_TRUE(SUCCEEDED(graph.control->Run()));
    EXPECT_TRUE(recorder.WaitFor(10));
    ASSERT_TRUE(SUCCEEDED(graph.control->Pause()));
    Sleep(200);  // a frame already on its way lands before the count
    const size_t firstRun = recorder.Count();
    ASSERT_TRUE(SUCCEEDED(graph.control->Run()));
    EXPECT_TRUE(recorder.WaitFor(firstRun + 6));
    ASSERT_EQ(S_OK, WaitForState(graph.control.Get(), State_Stopped));

    const std::vector<FrameRecord> frames = recorder.Frames();
    ASSERT_GE(firstRun, 10u);
    ASSERT_GT(frames.size(), firstRun + 5);
    EXPECT_LT(frames[0].start, 0) << "the first frame waited for the graph's stream start";
    EXPECT_TRUE(frames[0].discontinuity);
    const std::vector<FrameRecord> first(frames.begin(), frames.begin() + firstRun);
    ExpectConsecutive(first, 333333);
    for (size_t i = 1; i < firstRun; ++i)
        EXPECT_FALSE(frames[i].discontinuity) << "frame " << i;
    EXPECT_TRUE(frames[firstRun].discontinuity);
    EXPECT_LE(frames[firstRun - 1].stop, frames[firstRun].start) << "the stamps went back across the pause";
    for (size_t i = 1; i < frames.size(); ++i)
    {
        EXPECT_EQ(frames[i - 1].number + 1, frames[i].number) << "frame " << i;
        EXPECT_LE(frames[i - 1].stop, frames[i].start) << "frame " << i;
    }
}

TEST_F(VcamStream, ReleasedWhileRunningLeavesNothingBehind)
{
    ASSERT_EQ(0, LiveObjects());
    FrameRecorder recorder;
    {
        GrabGraph graph;
        ComPtr<IBaseFilter> camera = graph.AddRunningCamera(devices, L"Tarnview Release Camera", &recorder);
        ASSERT_TRUE(camera);
        Sleep(300);
        graph.control.Reset();  // nobody stops it: the last release must
        camera.Reset();
    }
    EXPECT_EQ(0, LiveObjects());
    const size_t count = recorder.Count();
    EXPECT_GT(count, 0u);
    Sleep(200);
    EXPECT_EQ(count, recorder.Count());
}
