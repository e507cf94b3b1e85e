// What decoding one camera frame costs: the prefix's YUV codec (through msvfw32, as the
// AVI Decompressor calls it) and WIC's JPEG decoding (the MJPEG decompressor's work),
// beside ffmpeg decoding the same frames to BGR24 on the same machine. CPU time on
// both sides, one thread each; ffmpeg's start-up is measured apart and taken out.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "JpegFrames.h"
#include "YuvBars.h"
#include "comkit/ComApartment.h"
#include "decoders/WicJpegDecoder.h"
#include "unixtools/UnixTools.h"
#include "support/ProcessFacts.h"
#include "support/TempFolder.h"

namespace
{

constexpr int kDistinctFrames = 30;
constexpr int kRounds = 10;  // each frame decoded this often

struct Sequence
{
    std::vector<std::vector<BYTE>> frames;
    std::string ffmpegInput;  // the input options naming the same frames in a file
};

void WriteFrames(const Sequence& sequence, const std::string& unixPath)
{
    std::ofstream out(support::WindowsPathOfUnix(unixPath), std::ios::binary);
    for (const auto& frame : sequence.frames)
        out.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
}

double FfmpegCpuMs(const std::string& input, const std::string& limit)
{
    const support::UnixResult run =
        support::RunUnix("ffmpeg -hide_banner -nostats -threads 1 " + input + " " + limit +
                         " -filter_threads 1 -pix_fmt bgr24 -f null - -benchmark");
    EXPECT_EQ(0, run.exitCode) << run.output;
    // "bench: utime=0.123s stime=0.010s rtime=0.150s"
    const auto seconds = [&](const char* key) {
        const size_t at = run.output.find(key);
        return at == std::string::npos ? 0.0 : atof(run.output.c_str() + at + strlen(key));
    };
    return 1000.0 * (seconds("utime=") + seconds("stime="));
}

// ffmpeg's CPU per frame: the whole sequence decoded kRounds times, less a one-frame run.
double FfmpegPerFrameMs(const Sequence& sequence, const support::TempFolder& dir, const std::string& name)
{
    const std::string file = dir.UnixFile(name);
    WriteFrames(sequence, file);
    const std::string input = "-stream_loop " + std::to_string(kRounds - 1) + " " + sequence.ffmpegInput +
                              " -i " + support::ShellQuote(file);
    const double all = FfmpegCpuMs(input, "");
    const double one = FfmpegCpuMs(input, "-frames:v 1");
    DeleteFileA(support::WindowsPathOfUnix(file).c_str());
    return (all - one) / (kDistinctFrames * kRounds - 1);
}

template <class Decode>
double OursPerFrameMs(const Sequence& sequence, Decode decode)
{
    const double start = support::ThreadCpuMs();
    int failed = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        for (const auto& frame : sequence.frames)
            failed += !decode(frame);
    }
    EXPECT_EQ(0, failed);
    return (support::ThreadCpuMs() - start) / (kDistinctFrames * kRounds);
}

void Print(const char* what, LONG width, LONG height, double ours, double ffmpeg)
{
    std::printf("BENCH | %s decoder %ldx%ld, CPU per frame | %.2f ms | ffmpeg on the same frames %.2f ms: "
                "ours at %.1fx "
                "ffmpeg's cost\n",
                what, width, height, ours, ffmpeg, ffmpeg > 0 ? ours / ffmpeg : 0.0);
}

void BenchYuy2(LONG width, LONG height, const support::TempFolder& dir)
{
    Sequence sequence;
    for (int i = 0; i < kDistinctFrames; ++i)
        sequence.frames.push_back(testframes::MakeBarsFrame(decoders::YuvLayout::Yuy2, width, height, i));
    sequence.ffmpegInput =
        "-f rawvideo -pix_fmt yuyv422 -s " + std::to_string(width) + "x" + std::to_string(height);

    std::vector<BYTE> rgb(decoders::RgbFrameBytes(width, height, 24));
    BITMAPINFOHEADER in = testframes::BitmapHeader(MAKEFOURCC('Y', 'U', 'Y', '2'), width, height, 16,
                                                   sequence.frames[0].size());
    BITMAPINFOHEADER out = testframes::BitmapHeader(BI_RGB, width, height, 24, rgb.size());
    HIC codec = ICLocate(streamtypeVIDEO, in.biCompression, &in, &out, ICMODE_DECOMPRESS);
    ASSERT_NE(nullptr, codec);
    ASSERT_EQ(ICERR_OK, ICDecompressBegin(codec, &in, &out));
    const double ours = OursPerFrameMs(sequence, [&](const std::vector<BYTE>& frame) {
        return ICDecompress(codec, 0, &in, const_cast<BYTE*>(frame.data()), &out, rgb.data()) == ICERR_OK;
    });
    ICDecompressEnd(codec);
    ICClose(codec);
    Print("YUY2", width, height, ours, FfmpegPerFrameMs(sequence, dir, "yuy2.raw"));
}

void BenchMjpg(LONG width, LONG height, const support::TempFolder& dir)
{
    Sequence sequence;
    for (int i = 0; i < kDistinctFrames; ++i)
        sequence.frames.push_back(
            testframes::EncodeJpeg(testframes::MakeBarsBgr(width, height, i), width, height));
    sequence.ffmpegInput = "-f mjpeg";

    decoders::WicJpegDecoder jpeg;
    ASSERT_EQ(S_OK, jpeg.Start());
    std::vector<BYTE> rgb(decoders::RgbFrameBytes(width, height, 24));
    const double ours = OursPerFrameMs(sequence, [&](const std::vector<BYTE>& frame) {
        return SUCCEEDED(
            jpeg.Decode(frame.data(), frame.size(), {rgb.data(), rgb.size(), width, height, 24}));
    });
    Print("MJPG", width, height, ours, FfmpegPerFrameMs(sequence, dir, "mjpg.mjpeg"));
}

TEST(DecoderBench, CpuPerFrameBesideFfmpeg)
{
    comkit::ComApartment com;
    support::TempFolder dir("decoder-bench");
    for (const auto& [width, height] : {std::pair<LONG, LONG>{640, 480}, {1280, 960}})
    {
        BenchYuy2(width, height, dir);
        BenchMjpg(width, height, dir);
    }
}

}  // namespace
