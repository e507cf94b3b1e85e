// The writer's files after the worst: its process killed hard at chosen moments, and
// a disk that fills up (a small tmpfs mounted for the test).
#include <gtest/gtest.h>

#include <functional>

#include "AviProbe.h"
#include "CameraDevice.h"
#include "KillableWriter.h"
#include "SmallDisk.h"
#include "StampedAvi.h"
#include "TestFiles.h"
#include "UnixShell.h"
#include "avimux/FileHandleSink.h"

namespace {

constexpr LONG kFramesPerSecond = 30;  // the kill test writer's rate

class SharedProgress {
public:
    SharedProgress()
        : m_name("Local\\tarnview-avimux-progress-" + std::to_string(GetCurrentProcessId())),
          m_mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(WriterProgress),
                                       m_name.c_str())),
          m_view(m_mapping ? static_cast<WriterProgress*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr)
    {
    }
    ~SharedProgress()
    {
        if (m_view)
            UnmapViewOfFile(m_view);
        if (m_mapping)
            CloseHandle(m_mapping);
    }
    const std::string& Name() const { return m_name; }
    WriterProgress* View() const { return m_view; }

private:
    std::string m_name;
    HANDLE m_mapping;
    WriterProgress* m_view;
};

HANDLE StartWriterProcess(const std::string& unixPath, const std::string& progressName)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string line = "\"" + std::string(exe) + "\" " + kKillableWriterSwitch + " " + unixPath + " " + progressName;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

struct KillMoment {
    const char* name;
    std::function<bool(const WriterProgress&)> reached;
};

// Whatever the moment, the file plays every frame written up to a second before the kill.
TEST(OpenDmlCrash, KilledWriterLeavesEveryFrameButTheLastSecond)
{
    const KillMoment moments[] = {
        {"before the first update", [](const WriterProgress& p) { return p.frames >= 10; }},
        {"mid-segment", [](const WriterProgress& p) { return p.frames >= 75; }},
        {"just after a segment boundary", [](const WriterProgress& p) { return p.segments >= 4; }},
        {"many segments on", [](const WriterProgress& p) { return p.frames >= 200; }},
    };
    for (const KillMoment& moment : moments) {
        SCOPED_TRACE(moment.name);
        SharedProgress progress;
        ASSERT_NE(nullptr, progress.View());
        const std::string path = ScratchDirUnix() + "/killed.avi";
        HANDLE writer = StartWriterProcess(path, progress.Name());
        ASSERT_NE(nullptr, writer);
        bool reached = false;
        for (DWORD waited = 0; !reached && waited < 60000; waited += 1) {
            reached = moment.reached(*progress.View());
            if (!reached && WaitForSingleObject(writer, 1) == WAIT_OBJECT_0)
                break;  // the writer ended by itself
        }
        TerminateProcess(writer, 9);
        WaitForSingleObject(writer, 30000);
        CloseHandle(writer);
        ASSERT_TRUE(reached) << "the writer process never got there";
        const LONG handed = progress.View()->frames;
        printf("%s: killed after %ld frames in %ld segments\n", moment.name, handed, progress.View()->segments);

        AviVideoInfo info = ProbeAvi(path);
        ASSERT_TRUE(info.readable) << info.log;
        EXPECT_GE(info.decodedFrames, handed - kFramesPerSecond);
        EXPECT_GE(info.headerFrames, handed - kFramesPerSecond) << "header counts not kept up to date";
        std::vector<uint32_t> numbers = StampedFrameNumbers(path);
        EXPECT_EQ(static_cast<size_t>(info.decodedFrames), numbers.size());
        EXPECT_TRUE(NumberedFromZero(numbers));
    }
}

TEST(OpenDmlCrash, FullDiskStopsTheWriterWithAReadableFile)
{
    const std::string kept = ScratchDirUnix() + "/full.avi";
    WrittenAvi written;
    {
        SmallDisk disk(ScratchDirUnix() + "/small-disk", 16);
        ASSERT_TRUE(disk.Mounted()) << "a 16 MB tmpfs is needed for this test (run as root): " << disk.Why();
        const std::string path = ScratchDirUnix() + "/small-disk/full.avi";
        HANDLE file = CreateAviFile(path);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const AviVideoFormat format = Rgb24Format(320, 240);
        FileHandleSink sink(file);
        OpenDmlWriter writer(sink, format, FrameBytesOf(format), kKillTestSegmentLimit);
        written.hr = writer.Start();
        for (uint32_t n = 0; n < 1000 && SUCCEEDED(written.hr); ++n) {
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
        ShellResult moved = RunUnixShell("mv " + path + " " + kept, ScratchDirUnix() + "/mv.log", 30000);
        ASSERT_EQ(0, moved.exitCode) << moved.output;
    }
    printf("disk full after %llu frames\n", written.frames);
    ASSERT_GT(written.frames, 30u);

    AviVideoInfo info = ProbeAvi(kept);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_FALSE(info.errors) << info.log;
    EXPECT_EQ(static_cast<long>(written.frames), info.decodedFrames);
    EXPECT_EQ(static_cast<long>(written.frames), info.headerFrames);
    std::vector<uint32_t> numbers = StampedFrameNumbers(kept);
    EXPECT_EQ(written.frames, numbers.size());
    EXPECT_TRUE(NumberedFromZero(numbers));
}

}  // namespace
