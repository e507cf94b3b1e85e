// Prints the OpenDML writer's throughput at 1280x960 RGB24 beside a plain sequential
// write of the same bytes to the same disk (goal: at least 90% of it), and what a
// minute of 1280x960 at 30 fps through the camera and our mux keeps (goal: no frame
// lost or repeated).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <numeric>
#include <cstdio>
#include <vector>

#include "support/VideoProbe.h"
#include "CameraRecordingGraph.h"
#include "RecordingGraph.h"
#include "TestFiles.h"
#include "support/TempFolder.h"
#include "avimux/FileHandleSink.h"
#include "avimux/OpenDmlWriter.h"

namespace
{

constexpr LONG kWidth = 1280;
constexpr LONG kHeight = 960;
constexpr DWORD kFrameBytes = kWidth * 3 * kHeight;
constexpr int kFrames = 300;  // 1.1 GB: two segments

double Seconds(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

HANDLE CreateScratchFile(const std::string& unixPath)
{
    return CreateFileA(WindowsPathA(unixPath).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Timed to the data on the disk (flushed) or only in the page cache, alike for both.
double PlainWriteSeconds(const std::string& unixPath, const std::vector<BYTE>& frame, bool flush)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HANDLE file = CreateScratchFile(unixPath);
    for (int i = 0; i < kFrames; ++i)
    {
        DWORD written = 0;
        WriteFile(file, frame.data(), kFrameBytes, &written, nullptr);
    }
    if (flush)
        FlushFileBuffers(file);
    CloseHandle(file);
    const double seconds = Seconds(start);
    DeleteFileA(WindowsPathA(unixPath).c_str());
    return seconds;
}

double WriterSeconds(const std::string& unixPath, const std::vector<BYTE>& frame, bool flush)
{
    AviVideoFormat format;
    BITMAPINFOHEADER bmi = {sizeof(bmi), kWidth, kHeight, 1, 24, BI_RGB, kFrameBytes, 0, 0, 0, 0};
    format.bitmapInfo.assign(reinterpret_cast<BYTE*>(&bmi), reinterpret_cast<BYTE*>(&bmi) + sizeof(bmi));
    format.frameDuration = 333333;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HANDLE file = CreateScratchFile(unixPath);
    FileHandleSink sink(file);
    OpenDmlWriter writer(sink, format, kFrameBytes);
    HRESULT hr = writer.Start();
    for (int i = 0; i < kFrames && SUCCEEDED(hr); ++i)
        hr = writer.WriteFrame(frame.data(), kFrameBytes);
    if (SUCCEEDED(hr))
        hr = writer.Finish();
    if (flush)
        FlushFileBuffers(file);
    CloseHandle(file);
    const double seconds = Seconds(start);
    EXPECT_EQ(S_OK, hr);
    DeleteFileA(WindowsPathA(unixPath).c_str());
    return seconds;
}

class AviMuxBench : public ::testing::Test
{
protected:
    static void TearDownTestSuite() { RemoveScratchDir(); }
};

TEST_F(AviMuxBench, WriterThroughputAgainstPlainWrites)
{
    std::vector<BYTE> frame(kFrameBytes);
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<BYTE>(i * 31);
    const double megabytes = static_cast<double>(kFrameBytes) * kFrames / 1e6;
    // Alternated, each going first in turn, seven each. On a shared machine a run now and
    // then takes three times as long, whichever writer it is; over all rounds such runs
    // hit both alike, so the figure compared is the bytes of all rounds over their time.
    // Into the page cache alone the figures show the writer's own cost; flushed, the disk's.
    for (bool flush : {false, true})
    {
        std::vector<double> plain, avi;
        for (int round = 0; round < 7; ++round)
        {
            const std::string plainPath = ScratchDirUnix() + "/plain.bin",
                              aviPath = ScratchDirUnix() + "/bench.avi";
            if (round % 2)
                avi.push_back(WriterSeconds(aviPath, frame, flush));
            plain.push_back(PlainWriteSeconds(plainPath, frame, flush));
            if (round % 2 == 0)
                avi.push_back(WriterSeconds(aviPath, frame, flush));
            printf("%s round %d: plain %.0f MB/s, writer %.0f MB/s\n", flush ? "flushed" : "cached", round,
                   megabytes / plain.back(), megabytes / avi.back());
        }
        const double plainSeconds = std::accumulate(plain.begin(), plain.end(), 0.0);
        const double aviSeconds = std::accumulate(avi.begin(), avi.end(), 0.0);
        const double rounds = static_cast<double>(plain.size());
        printf(
            "BENCH | OpenDML writer, 1280x960 RGB24, %s | %.0f MB/s over %d alternated rounds of %.0f MB | "
            "plain sequential write %.0f MB/s: writer at %.1f%% (goal >= 90%%)\n",
            flush ? "flushed to the disk" : "into the page cache", rounds * megabytes / aviSeconds,
            static_cast<int>(rounds), megabytes, rounds * megabytes / plainSeconds,
            100.0 * plainSeconds / aviSeconds);
    }
}

TEST_F(AviMuxBench, OneMinuteOfCameraFramesAtFullSize)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        DeviceSettings settings;
        settings.formats = {{kWidth, kHeight}};
        settings.fps = 30;
        CameraDevice device{settings};
        ASSERT_EQ(S_OK, device.Added());
        const std::string output = ScratchDirUnix() + "/minute.avi";
        CameraRecordingGraph recording;
        ASSERT_EQ(S_OK, recording.Build(device, output));
        HRESULT run = RunFor(recording.graph.Get(), 60000);
        EXPECT_TRUE(SUCCEEDED(run)) << std::hex << run;
        EXPECT_EQ(S_OK, StopGraph(recording.graph.Get()));
        recording.Release();

        support::VideoProbe info = support::ProbeVideo(output);
        StampCount stamps = CountStamps(support::StampedFrameNumbers(output, kWidth));
        printf(
            "BENCH | OpenDML writer, 60 s of 1280x960/30 from the camera | %lld bytes, %ld frames decoded "
            "(%ld in the header), %zu stamped | %zu lost, %zu repeated (goal: 1800, none lost or repeated)\n",
            support::FileSize(WindowsPathA(output)), info.decodedFrames, info.headerFrames, stamps.frames,
            stamps.lost, stamps.repeated);
        EXPECT_EQ(0u, stamps.lost);
        EXPECT_EQ(0u, stamps.repeated);
        DeleteFileA(WindowsPathA(output).c_str());
    }
    CoUninitialize();
}

}  // namespace
