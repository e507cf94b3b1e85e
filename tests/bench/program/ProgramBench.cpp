// The whole program as a user runs it: start-up against an empty program, recordings
// at the two usual formats, and the process's private memory over long use.
// Prints figures (lines starting "BENCH |", gathered by tools/bench.sh).
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "RecordingFixture.h"
#include "unixtools/UnixTools.h"
#include "support/ProcessFacts.h"

namespace e2e
{

using namespace support;

namespace
{

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double EmptyProgramMs()
{
    const std::string exe = ExecutableFolder() + "tarnview-empty-program.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    WaitForSingleObject(info.hProcess, 60000);
    const double ms = 1000.0 * SecondsSince(start);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ms;
}

struct UnixFigures
{
    long privateKb = -1;     // Private_Clean + Private_Dirty
    double cpuSeconds = -1;  // user + system
};

// The program's Unix process as Linux accounts for it: Wine 8 reads PrivateUsage as 0
// and keeps no CPU times for another process. The process is the one whose command
// line is the program's Windows path.
UnixFigures ProgramFigures()
{
    const std::string exe = ExecutableFolder() + "tarnview.exe";
    const UnixResult result =
        RunUnix("for d in /proc/[0-9]*; do "
                "[ \"$(tr '\\0' '\\n' 2>/dev/null < $d/cmdline | head -n 1)\" = " +
                ShellQuote(exe) +
                " ] || continue; "
                "awk '/^Private_(Clean|Dirty):/ {s += $2} END {printf \"%d \", s}' $d/smaps_rollup; "
                "awk -v hz=$(getconf CLK_TCK) '{print ($14 + $15) / hz}' $d/stat; done");
    UnixFigures figures;
    if (result.exitCode == 0)
        sscanf(result.output.c_str(), "%ld %lf", &figures.privateKb, &figures.cpuSeconds);
    return figures;
}

class ProgramBench : public RecordingTest
{
protected:
    void Record(LONG width, LONG height, unsigned fps)
    {
        DeviceSettings settings;
        settings.formats = {{width, height}};
        settings.fps = fps;
        StartInAviMode(settings);
        ASSERT_TRUE(window);
        constexpr int kSeconds = 30;
        const double cpuBefore = ProgramFigures().cpuSeconds;
        const std::string path = RecordFor(std::to_string(kSeconds), std::to_string(fps));
        const double cpu = ProgramFigures().cpuSeconds - cpuBefore;
        const VideoFacts facts = Probe(path);
        int unreadable = 0;
        const std::vector<uint32_t> stamps = StampedFrameNumbers(path, width, &unreadable);
        long dropped = 0;
        for (size_t i = 1; i < stamps.size(); ++i)
            if (stamps[i] > stamps[i - 1] + 1)
                dropped += long(stamps[i] - stamps[i - 1] - 1);
        DeleteFileA(path.c_str());
        std::printf("BENCH | recording %ldx%ld/%u for %d s | %ld frames written of %u expected, %ld dropped "
                    "| CPU %.2f s per recorded second\n",
                    width, height, fps, kSeconds, facts.frames, fps * kSeconds, dropped, cpu / kSeconds);
    }
};

TEST_F(ProgramBench, StartUpToTheFirstPreviewFrame)
{
    AddDefaultCamera();
    std::vector<double> program, empty;
    for (int run = 0; run < 5; ++run)
    {
        empty.push_back(EmptyProgramMs());
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        ASSERT_TRUE(app.Start());
        window = app.WaitForMainWindow();
        ASSERT_TRUE(window);
        const unsigned long long blank = window.PictureChecksum(IDC_PREVIEW);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return window.Text(IDC_STATUS).rfind("Preview: ", 0) == 0 &&
                       window.PictureChecksum(IDC_PREVIEW) != blank;
            },
            60000));
        program.push_back(1000.0 * SecondsSince(start));
        ASSERT_TRUE(app.CloseAndWait());
        app.Kill();
    }
    std::printf("BENCH | start-up, process start to first preview frame | median %.0f ms (5 starts) "
                "| empty Wine program start to exit: median %.0f ms\n",
                Median(program), Median(empty));
}

TEST_F(ProgramBench, RecordingVgaAtThirty)
{
    Record(640, 480, 30);
}

TEST_F(ProgramBench, RecordingLargeAtFifteen)
{
    Record(1280, 960, 15);
}

TEST_F(ProgramBench, PrivateMemoryOverLongUse)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    UseUniqueBaseName();
    const long atStart = ProgramFigures().privateKb;
    if (window.IsChecked(IDC_INCREMENT))
        window.ClickAndSettle(IDC_INCREMENT);  // one file, overwritten
    for (int i = 0; i < 1000; ++i)
    {
        window.SetText(IDC_LAST_FILE, "");
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitUntil([&] { return !window.Text(IDC_LAST_FILE).empty(); })) << "snapshot " << i;
    }
    const long afterSnapshots = ProgramFigures().privateKb;
    DeleteFileA(OutputPath(window.Text(IDC_LAST_FILE)).c_str());
    for (int i = 0; i < 100; ++i)
    {
        window.ClickAndSettle(IDC_FORMAT);
        ASSERT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ", 60000)) << "format step " << i;
    }
    const long afterFormats = ProgramFigures().privateKb;
    std::printf("BENCH | private memory | %.1f MB after start, %.1f MB after 1,000 snapshots | "
                "%.1f MB after 100 format steps\n",
                atStart / 1024.0, afterSnapshots / 1024.0, afterFormats / 1024.0);
}

}  // namespace
}  // namespace e2e
