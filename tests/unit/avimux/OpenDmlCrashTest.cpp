// The writer's files after the worst: its process killed hard at chosen moments, and
// a disk that fills up (a small tmpfs mounted for the test).
#include <gtest/gtest.h>

#include <functional>

#include "support/VideoProbe.h"
#include "KillableWriter.h"
#include "support/SmallDisk.h"
#include "StampedAvi.h"
#include "TestFiles.h"
#include "support/TempFolder.h"
#include "unixtools/UnixTools.h"
#include "avimux/FileHandleSink.h"

namespace
{

constexpr LONG kFramesPerSecond = 30;  // the kill test writer's rate

// Shared with the writer process through an inherited handle (named objects did not
// always open under the test run's prefix).
class SharedProgress
{
public:
    SharedProgress()
    {
        SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
        m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                       sizeof(WriterProgress), nullptr);
        if (m_mapping)
            m_view = static_cast<WriterProgress*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, 0));
    }
    ~SharedProgress()
    {
        if (m_view)
            UnmapViewOfFile(m_view);
        if (m_mapping)
            CloseHandle(m_mapping);
    }
    std::string HandleText() const { return std::to_string(reinterpret_cast<ULONG_PTR>(m_mapping)); }
    WriterProgress* View() const { return m_view; }

private:
    HANDLE m_mapping = nullptr;
    WriterProgress* m_view = nullptr;
};

HANDLE StartWriterProcess(const std::string& unixPath, const std::string& progressHandle)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string line =
        "\"" + std::string(exe) + "\" " + kKillableWriterSwitch + " " + unixPath + " " + progressHandle;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

struct KillMoment
{
    const char* name;
    std::function<bool(const WriterProgress&)> reached;
};

// Whatever the moment, the file plays every frame written up to a second before the kill.
TEST(OpenDmlCrash, KilledWriterLeavesEveryFrameButTheLastSecond)
{
    const KillMoment moments[] = {
        {"before the first update", [](const WriterProgress& p) { return p.frames >= 10; }},
        {"mid-segment, two updates in", [](const WriterProgress& p) { return p.frames >= 65; }},
        {"just after a segment boundary", [](const WriterProgress& p) { return p.segments >= 3; }},
        {"many segments on", [](const WriterProgress& p) { return p.frames >= 400; }},
    };
    for (const KillMoment& moment : moments)
    {
        SCOPED_TRACE(moment.name);
        SharedProgress progress;
        ASSERT_NE(nullptr, progress.View()) << "shared progress: error " << GetLastError();
        const std::string path = ScratchDirUnix() + "/killed.avi";
        HANDLE writer = StartWriterProcess(path, progress.HandleText());
        ASSERT_NE(nullptr, writer);
        bool reached = false;
        for (DWORD waited = 0; !reached && waited < 60000; waited += 1)
        {
            reached = moment.reached(*progress.View());
            if (!reached && WaitForSingleObject(writer, 1) == WAIT_OBJECT_0)
                break;  // the writer ended by itself
        }
        TerminateProcess(writer, 9);
        WaitForSingleObject(writer, 30000);
        CloseHandle(writer);
        ASSERT_TRUE(reached) << "the writer process never got there";
        const LONG handed = progress.View()->frames;
        printf("%s: killed after %ld frames in %ld segments\n", moment.name, handed,
               progress.View()->segments);

        support::VideoProbe info = support::ProbeVideo(path);
        ASSERT_TRUE(info.readable) << info.log;
        EXPECT_GE(info.decodedFrames, handed - kFramesPerSecond);
        EXPECT_GE(info.headerFrames, handed - kFramesPerSecond) << "header counts not kept up to date";
        std::vector<uint32_t> numbers = support::StampedFrameNumbers(path, 320);
        EXPECT_EQ(static_cast<size_t>(info.decodedFrames), numbers.size());
        EXPECT_TRUE(NumberedFromZero(numbers));
    }
}

TEST(OpenDmlCrash, FullDiskStopsTheWriterWithAReadableFile)
{
    const std::string kept = ScratchDirUnix() + "/full.avi";
    WrittenAvi written;
    {
        support::SmallDisk disk(ScratchDirUnix() + "/small-disk", "16m");
        ASSERT_TRUE(disk.Mounted()) << "a 16 MB tmpfs is needed for this test (run as root): " << disk.Why();
        const std::string path = ScratchDirUnix() + "/small-disk/full.avi";
        HANDLE file = CreateAviFile(path);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const AviVideoFormat format = Rgb24Format(320, 240);
        FileHandleSink sink(file);
        OpenDmlWriter writer(sink, format, FrameBytesOf(format), 2 << 20);  // several segments on 16 MB
        written.hr = writer.Start();
        for (uint32_t n = 0; n < 1000 && SUCCEEDED(written.hr); ++n)
        {
            const std::vector<BYTE> frame = StampedFrame(format, n);
            written.hr = writer.WriteFrame(frame.data(), static_cast<DWORD>(frame.size()));
        }
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL), written.hr);
        EXPECT_EQ(written.hr, writer.Fault());
        const std::vector<BYTE> late = StampedFrame(format, 9999);
        EXPECT_EQ(written.hr, writer.WriteFrame(late.data(), static_cast<DWORD>(late.size())));
        EXPECT_EQ(written.hr, writer.Finish());
        written.frames = writer.Frames();
        CloseHandle(file);
        support::UnixResult moved = support::RunUnix("mv " + path + " " + kept, 30000);
        ASSERT_EQ(0, moved.exitCode) << moved.output;
    }
    printf("disk full after %llu frames\n", written.frames);
    ASSERT_GT(written.frames, 30u);

    support::VideoProbe info = support::ProbeVideo(kept);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_FALSE(info.errors) << info.log;
    EXPECT_EQ(static_cast<long>(written.frames), info.decodedFrames);
    EXPECT_EQ(static_cast<long>(written.frames), info.headerFrames);
    std::vector<uint32_t> numbers = support::StampedFrameNumbers(kept, 320);
    EXPECT_EQ(written.frames, numbers.size());
    EXPECT_TRUE(NumberedFromZero(numbers));
}

}  // namespace
