// The program with cameras shaped like real ones, through the prefix's decoders: a
// webcam (YUY2, and MJPG at the large sizes) and a night-sky camera (RGB24 and YUY2),
// both showing colour bars. Preview, stills of the right size and colours, "Mode"
// across subtypes, and a recording of each subtype that ffprobe reads back.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "../recording/RecordingFixture.h"
#include "../snapshot/StillFile.h"
#include "vcam/frame/ColourBars.h"

namespace e2e
{
namespace
{

struct Mode
{
    const char* status;
    int width;
    int height;
    const char* codec;        // ffprobe's name for a recording in this mode
    unsigned long fourCc;     // the clip's biCompression: the camera's own subtype
};

constexpr unsigned long kRgb = 0;
constexpr unsigned long kYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr unsigned long kMjpg = MAKEFOURCC('M', 'J', 'P', 'G');

// In the profiles' order.
const Mode kWebcam[] = {{"Preview: 640 x 480", 640, 480, "rawvideo", kYuy2},
                        {"Preview: 320 x 240", 320, 240, "rawvideo", kYuy2},
                        {"Preview: 1280 x 960", 1280, 960, "mjpeg", kMjpg},
                        {"Preview: 1280 x 720", 1280, 720, "mjpeg", kMjpg}};
const Mode kNightSky[] = {{"Preview: 640 x 480", 640, 480, "rawvideo", kRgb},
                          {"Preview: 640 x 480", 640, 480, "rawvideo", kYuy2},
                          {"Preview: 1280 x 960", 1280, 960, "rawvideo", kRgb},
                          {"Preview: 1280 x 960", 1280, 960, "rawvideo", kYuy2}};

// biCompression of the first stream format in an AVI file; ~0 when there is none.
unsigned long StreamCompression(const std::vector<unsigned char>& avi)
{
    const char tag[] = {'s', 't', 'r', 'f'};
    const auto at = std::search(avi.begin(), avi.end(), std::begin(tag), std::end(tag));
    const size_t field = static_cast<size_t>(at - avi.begin()) + 8 + 16;  // chunk header, then BITMAPINFOHEADER
    if (at == avi.end() || field + 4 > avi.size())
        return ~0ul;
    return avi[field] | avi[field + 1] << 8 | avi[field + 2] << 16 | static_cast<unsigned long>(avi[field + 3]) << 24;
}

// Decoded YUV and JPEG bars come back within this of the camera's RGB.
constexpr int kColourTolerance = 12;

class ProfileTest : public RecordingTest
{
protected:
    void TearDown() override
    {
        RecordingTest::TearDown();
        if (!baseName.empty())
            DeleteFilesStartingWith(DocumentsFolder(), baseName);  // clips of a hundred MB
    }

    void StartWith(const wchar_t* profile)
    {
        DeviceSettings settings;
        ASSERT_TRUE(ProfileFormats(profile, &settings.formats));
        settings.scene.pattern = ScenePattern::ColourBars;
        AddCamera(L"Tarnview Profile Camera", settings);
        Start();
        ASSERT_TRUE(window);
        UseUniqueBaseName();
    }

    void StepMode(const Mode& next)
    {
        window.ClickAndSettle(IDC_FORMAT);
        ASSERT_TRUE(WaitForText(IDC_STATUS, next.status, 60000)) << "status: " << window.Text(IDC_STATUS);
    }

    // Takes a still and checks its file: a 24-bit BMP of the mode's size, stamped, bars right.
    void ExpectStill(const Mode& mode, int counter)
    {
        char name[16];
        snprintf(name, sizeof name, "_%04d.bmp", counter);
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitForText(IDC_LAST_FILE, baseName + name, 60000));
        const std::string path = OutputPath(baseName + name);
        SCOPED_TRACE(path);
        const StillFile still = ReadStill(path);
        ASSERT_TRUE(still.valid) << still.problem;
        EXPECT_EQ(mode.width, still.width);
        EXPECT_EQ(mode.height, still.height);
        EXPECT_TRUE(still.stamped) << "the frame number does not decode";
        const ImageFacts facts = Identify(path);
        EXPECT_TRUE(facts.readable) << facts.raw;
        EXPECT_EQ(mode.width, facts.width);
        EXPECT_EQ(mode.height, facts.height);
        ExpectBars(ReadFileBytes(path), mode.width, mode.height);
    }

    // The middle of every bar, halfway down the bottom-up 24-bit picture.
    static void ExpectBars(const std::vector<unsigned char>& bmp, int width, int height)
    {
        ASSERT_GT(bmp.size(), 54u);
        const size_t offset = bmp[10] | bmp[11] << 8 | bmp[12] << 16 | static_cast<size_t>(bmp[13]) << 24;
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
        const size_t row = offset + static_cast<size_t>(height - 1 - height / 2) * stride;
        ASSERT_LE(row + stride, bmp.size());
        for (int bar = 0; bar < ColourBarCount; ++bar)
        {
            const unsigned char* px = &bmp[row + 3 * (bar * width / ColourBarCount + width / 16)];
            const BarColour want = ColourBar(bar);
            EXPECT_NEAR(want.b, px[0], kColourTolerance) << "bar " << bar;
            EXPECT_NEAR(want.g, px[1], kColourTolerance) << "bar " << bar;
            EXPECT_NEAR(want.r, px[2], kColourTolerance) << "bar " << bar;
        }
    }

    // Records the current mode for `seconds` at `rate` and reads the clip back: every
    // slot filled, or (a camera that may skip slots on a loaded machine, as a 1280x960
    // MJPG one does here) every frame it sent, in order.
    void ExpectRecording(const Mode& mode, int seconds, int rate, bool everySlot = true)
    {
        const std::string path = RecordFor(std::to_string(seconds), std::to_string(rate));
        if (everySlot)
            ExpectWholeClip(path, mode.width, mode.height, seconds * rate, 1 + rate / 10);
        else
            EXPECT_GE(ExpectUnbrokenClip(path, mode.width), seconds * rate / 4);
        const VideoFacts facts = Probe(path);
        EXPECT_EQ(mode.codec, facts.codec);
        EXPECT_EQ(mode.height, facts.height);
        EXPECT_EQ(mode.fourCc, StreamCompression(ReadFileBytes(path))) << "not the camera's own subtype";
    }
};

TEST_F(ProfileTest, WebcamPreviewsAndStillsEveryModeAcrossSubtypes)
{
    StartWith(L"webcam");
    Screenshot("webcam-preview");
    for (size_t step = 0; step < std::size(kWebcam); ++step)
    {
        SCOPED_TRACE(kWebcam[step].status);
        ExpectStill(kWebcam[step], static_cast<int>(step));
        StepMode(kWebcam[(step + 1) % std::size(kWebcam)]);
    }
}

// A YUY2 clip at the camera's full rate; an MJPG one, whose decoded preview and encoding
// camera share one streaming thread, keeps what the camera sent.
TEST_F(ProfileTest, WebcamRecordsYuy2AndMjpg)
{
    StartWith(L"webcam");
    window.ClickAndSettle(IDC_MODE_AVI);
    ExpectRecording(kWebcam[0], 3, 30);
    StepMode(kWebcam[1]);
    StepMode(kWebcam[2]);
    ExpectRecording(kWebcam[2], 3, 10, false);
}

TEST_F(ProfileTest, NightSkyStillsAndRecordsRgb24AndYuy2)
{
    StartWith(L"night-sky");
    ExpectStill(kNightSky[0], 0);
    StepMode(kNightSky[1]);
    ExpectStill(kNightSky[1], 1);
    window.ClickAndSettle(IDC_MODE_AVI);
    ExpectRecording(kNightSky[1], 3, 15);
    StepMode(kNightSky[2]);
    StepMode(kNightSky[3]);
    StepMode(kNightSky[0]);
    ExpectRecording(kNightSky[0], 3, 15);
}

}  // namespace
}  // namespace e2e
