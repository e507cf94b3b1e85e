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
#include "driver/UnixTools.h"

namespace e2e {
namespace {

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

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
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, 60000);
    const double ms = MillisecondsSince(start);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ms;
}

double CpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto seconds = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Private memory (Private_Clean + Private_Dirty) of the program's Unix process: Wine 8
// reads PrivateUsage as 0, so the figure comes from Linux's own accounting.
long PrivateKilobytes()
{
    const std::string exe = ExecutableFolder() + "tarnview.exe";
    const UnixResult result = RunUnix(
        "for f in $(grep -lsF " + ShellQuote(exe) + " /proc/[0-9]*/cmdline); do "
        "awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s}' \"${f%/cmdline}/smaps_rollup\"; done");
    return result.exitCode == 0 ? atol(result.output.c_str()) : -1;
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
        const double cpuBefore = CpuSeconds(app.Handle());
        const std::string path = RecordFor(std::to_string(kSeconds), std::to_string(fps));
        const double cpu = CpuSeconds(app.Handle()) - cpuBefore;
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
    for (int run = 0; run < 5; ++run) {
        empty.push_back(EmptyProgramMs());
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        ASSERT_TRUE(app.Start());
        window = app.WaitForMainWindow();
        ASSERT_TRUE(window);
        const unsigned long long blank = window.PictureChecksum(IDC_PREVIEW);
        ASSERT_TRUE(WaitUntil([&] {
            return window.Text(IDC_STATUS).rfind("Preview: ", 0) == 0 && window.PictureChecksum(IDC_PREVIEW) != blank;
        }, 60000));
        program.push_back(MillisecondsSince(start));
        ASSERT_TRUE(app.CloseAndWait());
        app.Kill();
    }
    std::printf("BENCH | start-up, process start to first preview frame | median %.0f ms (5 starts) "
                "| empty Wine program start to exit: median %.0f ms\n", Median(program), Median(empty));
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
    const long atStart = PrivateKilobytes();
    if (window.IsChecked(IDC_INCREMENT))
        window.ClickAndSettle(IDC_INCREMENT); // one file, overwritten
    for (int i = 0; i < 1000; ++i) {
        window.SetText(IDC_LAST_FILE, "");
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitUntil([&] { return !window.Text(IDC_LAST_FILE).empty(); })) << "snapshot " << i;
    }
    const long afterSnapshots = PrivateKilobytes();
    DeleteFileA(OutputPath(window.Text(IDC_LAST_FILE)).c_str());
    for (int i = 0; i < 100; ++i) {
        window.ClickAndSettle(IDC_FORMAT);
        ASSERT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ", 60000)) << "format step " << i;
    }
    const long afterFormats = PrivateKilobytes();
    std::printf("BENCH | private memory | %.1f MB after start, %.1f MB after 1,000 snapshots | "
                "%.1f MB after 100 format steps\n", atStart / 1024.0, afterSnapshots / 1024.0, afterFormats / 1024.0);
}

}  // namespace
}  // namespace e2e
