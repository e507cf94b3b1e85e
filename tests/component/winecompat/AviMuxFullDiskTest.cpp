// A disk that fills while our mux records: EC_ERRORABORT with the disk-full HRESULT, and
// the file plays up to the last frame that fit.
#include "AviMuxTesting.h"
#include "support/SmallDisk.h"
#include "TestFiles.h"
#include "unixtools/UnixTools.h"

using Microsoft::WRL::ComPtr;

namespace
{

TEST_F(MuxRecording, FullDiskRaisesErrorAbortAndLeavesAPlayableFile)
{
    CameraDevice device{DeviceSettings{}};
    ASSERT_EQ(S_OK, device.Added());
    const std::string kept = ScratchDirUnix() + "/full.avi";
    {
        const std::string mount = ScratchDirUnix() + "/small-disk";
        support::SmallDisk disk(mount, "12m");
        ASSERT_TRUE(disk.Mounted()) << "a 12 MB tmpfs is needed for this test (run as root): " << disk.Why();
        ASSERT_EQ(S_OK, Build(device, mount + "/full.avi"));
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, m_graph.As(&control));
        HRESULT run = control->Run();
        EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL),
                  static_cast<HRESULT>(WaitForEvent(m_graph.Get(), EC_ERRORABORT, 20000)));
        EXPECT_EQ(S_OK, control->Stop());
        control.Reset();
        ReleaseAll();
        support::UnixResult moved = support::RunUnix("mv " + mount + "/full.avi " + kept, 30000);
        ASSERT_EQ(0, moved.exitCode) << moved.output;
    }
    // 12 MB hold about 12 frames of 640x480.
    ExpectEveryFrameNear(kept, 12, 2);
}

}  // namespace
