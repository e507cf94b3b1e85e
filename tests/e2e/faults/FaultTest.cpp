// Captures whose camera or disk fails under them: the recording ends by itself as
// "&Stop Capture" ends it and the dialog says why; a preview that loses its camera
// says so and comes back with it; a still that cannot be written is told.
#include <windows.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"
#include "unixtools/UnixTools.h"
#include "support/SmallDisk.h"
#include "unixtools/UnixTools.h"

namespace e2e
{
namespace
{

constexpr unsigned kFramesBeforeFault = 75;  // 2.5 s at 30 fps

class FaultTest : public RecordingTest
{
protected:
    // The clips are large; the program has ended by now, the small disk is still mounted.
    void TearDown() override
    {
        RecordingTest::TearDown();
        DeleteFilesStartingWith(DocumentsFolder(), baseName);
    }

    // A recording without a set duration, left to end by itself. The camera fails
    // 2.5 s in; ending it may take 3 s more.
    void RecordUntilItStops()
    {
        window.SetText(IDC_DURATION, "0");
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
        const DWORD clicked = GetTickCount();
        ASSERT_TRUE(WaitForText(IDC_ACTION, "&Start Capture", 20000))
            << "the recording did not end by itself: " << window.Text(IDC_CAPTURE_STATUS);
        printf("[ fault ] recording ended %lu ms after the click: %s\n", GetTickCount() - clicked,
               window.Text(IDC_CAPTURE_STATUS).c_str());
        EXPECT_FALSE(app.HasDialog(kErrorCaption));
        EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ")) << window.Text(IDC_STATUS);
        EXPECT_EQ(window.Text(IDC_LAST_FILE), baseName + "_0000.avi");
    }

    void MountSmallDocuments(const std::string& size)
    {
        const std::string problem = disk.Mount(support::UnixPath(DocumentsFolder()), size);
        ASSERT_EQ(problem, "") << "a small disk is needed for this test";
    }

    support::SmallDisk disk;
};

DeviceSettings FailingCamera(unsigned faults)
{
    DeviceSettings settings;
    settings.stopAfterFrames = kFramesBeforeFault;
    settings.faults = faults;
    return settings;
}

TEST_F(FaultTest, AnUnpluggedCameraEndsTheRecordingWithEveryFrameItSent)
{
    StartInAviMode(FailingCamera(VcamFault::Unplug));
    RecordUntilItStops();
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), "Stopped after 2 s: the camera was unplugged");
    Screenshot("fault-unplugged-recording");
    ExpectWholeClip(ClipPath(0), 640, 480, kFramesBeforeFault, 0);
}

TEST_F(FaultTest, ACameraGoneSilentEndsTheRecordingWithEveryFrameItSent)
{
    StartInAviMode(FailingCamera(0));
    RecordUntilItStops();
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), "Stopped after 2 s: the camera stopped");
    ExpectWholeClip(ClipPath(0), 640, 480, kFramesBeforeFault, 0);
}

TEST_F(FaultTest, ACameraLostDuringThePreviewIsToldAndComesBackWithoutARestart)
{
    AddCamera(L"Tarnview Virtual Camera", FailingCamera(VcamFault::Unplug | VcamFault::Replug));
    Start();
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitForText(IDC_STATUS, "Camera lost: Tarnview Virtual Camera")) << window.Text(IDC_STATUS);
    Screenshot("fault-camera-lost");
    ASSERT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ")) << "the preview did not come back";
    const unsigned long long before = window.PictureChecksum(IDC_PREVIEW);
    EXPECT_TRUE(WaitUntil([&] { return window.PictureChecksum(IDC_PREVIEW) != before; }))
        << "the preview picture stands still";
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
}

TEST_F(FaultTest, APreviewCameraGoneSilentIsToldAsLost)
{
    AddCamera(L"Tarnview Virtual Camera", FailingCamera(0));
    Start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForText(IDC_STATUS, "Camera lost: Tarnview Virtual Camera")) << window.Text(IDC_STATUS);
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
}

TEST_F(FaultTest, AFullDiskEndsTheRecordingAndSaysSo)
{
    AddDefaultCamera();
    MountSmallDocuments("48m");
    Start();
    ASSERT_TRUE(window);
    window.ClickAndSettle(IDC_MODE_AVI);
    UseUniqueBaseName();
    RecordUntilItStops();
    const std::string status = window.Text(IDC_CAPTURE_STATUS);
    EXPECT_EQ(status.rfind("Stopped after ", 0), 0u) << status;
    EXPECT_NE(status.find(": the disk is full"), std::string::npos) << status;
    EXPECT_TRUE(app.Running());
    // Every frame that fit plays (48 MB hold about 50 frames of 640 x 480).
    const long frames = ExpectUnbrokenClip(ClipPath(0), 640);
    EXPECT_GE(frames, 30);
    printf("[ fault ] clip on the full disk: %ld frames\n", frames);
    ASSERT_TRUE(app.CloseAndWait());
}

TEST_F(FaultTest, StillsThatCannotBeWrittenAreToldAndTheNextGoodOneClearsTheLine)
{
    AddDefaultCamera();
    // Room for two whole stills of 640 x 480 and part of a third.
    MountSmallDocuments("2240k");
    Start();
    ASSERT_TRUE(window);
    UseUniqueBaseName();
    for (int still = 0; still < 2; ++still)
    {
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitForText(IDC_LAST_FILE, baseName + "_000" + std::to_string(still) + ".bmp"));
    }
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), "Not capturing");
    window.ClickAndSettle(IDC_ACTION);
    const std::string full = "Snapshot not written: the disk is full (" + baseName + "_0002.bmp)";
    EXPECT_TRUE(WaitForText(IDC_CAPTURE_STATUS, full)) << window.Text(IDC_CAPTURE_STATUS);
    Screenshot("fault-disk-full-still");
    EXPECT_EQ(GetFileAttributesA(OutputPath(baseName + "_0002.bmp").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a partial still was left";
    for (int still = 0; still < 2; ++still)
        EXPECT_EQ(ReadFileBytes(OutputPath(baseName + "_000" + std::to_string(still) + ".bmp")).size(),
                  921654u);
    EXPECT_EQ(window.Text(IDC_LAST_FILE), baseName + "_0001.bmp");

    // A name Windows refuses spends no number; then a good still again.
    DeleteFileA(OutputPath(baseName + "_0000.bmp").c_str());
    window.SetText(IDC_FILENAME, "a<b>c");
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_TRUE(WaitForText(IDC_CAPTURE_STATUS, "Invalid file name: nothing captured"))
        << window.Text(IDC_CAPTURE_STATUS);
    window.SetText(IDC_FILENAME, baseName);
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_TRUE(WaitForText(IDC_LAST_FILE, baseName + "_0003.bmp")) << window.Text(IDC_LAST_FILE);
    EXPECT_TRUE(WaitForText(IDC_CAPTURE_STATUS, "Not capturing")) << window.Text(IDC_CAPTURE_STATUS);
    ASSERT_TRUE(app.CloseAndWait());
}

}  // namespace
}  // namespace e2e
