#include "support/VideoProbe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "unixtools/UnixTools.h"
#include "vcam/frame/FrameStamp.h"

namespace support
{

namespace
{

long NumberOr(const std::string& text, long fallback)
{
    if (text.empty() || text == "N/A")
        return fallback;
    return atol(text.c_str());
}

double EvaluateRate(const std::string& rate)
{
    size_t slash = rate.find('/');
    if (slash == std::string::npos)
        return atof(rate.c_str());
    double denominator = atof(rate.c_str() + slash + 1);
    return denominator != 0 ? atof(rate.c_str()) / denominator : 0;
}

// Anything but key=value lines is ffprobe reporting a problem with the file.
bool HasComplaints(const std::string& output)
{
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
    {
        if (!line.empty() && line.find('=') == std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

VideoProbe ProbeVideo(const std::string& unixPath)
{
    const UnixResult run =
        RunUnix("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                "stream=codec_name,width,height,r_frame_rate,duration,nb_frames,nb_read_frames -of "
                "default=noprint_wrappers=1 " +
                ShellQuote(unixPath));
    VideoProbe info;
    info.log = run.output;
    if (run.exitCode != 0)
        return info;
    info.width = static_cast<int>(NumberOr(ValueOf(run.output, "width"), 0));
    info.height = static_cast<int>(NumberOr(ValueOf(run.output, "height"), 0));
    info.codec = ValueOf(run.output, "codec_name");
    info.frameRate = ValueOf(run.output, "r_frame_rate");
    info.fps = EvaluateRate(info.frameRate);
    info.seconds = atof(ValueOf(run.output, "duration").c_str());
    info.headerFrames = NumberOr(ValueOf(run.output, "nb_frames"), -1);
    info.decodedFrames = NumberOr(ValueOf(run.output, "nb_read_frames"), -1);
    info.readable = info.width > 0;
    info.errors = HasComplaints(run.output);
    printf("ffprobe %s: %dx%d %s r_frame_rate=%s nb_frames=%ld nb_read_frames=%ld\n", unixPath.c_str(),
           info.width, info.height, info.codec.c_str(), info.frameRate.c_str(), info.headerFrames,
           info.decodedFrames);
    return info;
}

void ExpectVideo(const VideoProbe& probe, int width, int height, double fps, long frames, long tolerance)
{
    ASSERT_TRUE(probe.readable) << probe.log;
    EXPECT_EQ(width, probe.width);
    EXPECT_EQ(height, probe.height);
    EXPECT_NEAR(fps, probe.fps, 0.01) << probe.frameRate;
    EXPECT_NEAR(frames, probe.decodedFrames, tolerance) << probe.log;
    // The header also counts the empty chunks that stand for frames the camera dropped.
    EXPECT_NEAR(frames, probe.headerFrames, tolerance) << probe.log;
    EXPECT_LE(probe.decodedFrames, probe.headerFrames) << probe.log;
}

void ExpectCountedFrames(const VideoProbe& probe, long sent, long dropped)
{
    ASSERT_GT(sent, 0) << "the camera counted no frame";
    EXPECT_EQ(sent, probe.decodedFrames) << probe.log;
    EXPECT_EQ(sent + dropped, probe.headerFrames) << probe.log;
}

std::vector<uint32_t> StampedFrameNumbers(const std::string& unixPath, int width, int* unreadable)
{
    std::vector<uint32_t> numbers;
    if (unreadable)
        *unreadable = 0;
    // Only the top rows carry the stamp; decoding just those keeps large clips small.
    static int serial = 0;
    const std::string raw = "/tmp/tarnview-stamps-" + ProcessTag() + "-" +
                            std::to_string(++serial) + ".raw";
    const UnixResult decoded = RunUnix("ffmpeg -v error -y -i " + ShellQuote(unixPath) +
                                       " -fps_mode passthrough -vf crop=iw:" + std::to_string(kStampRows) +
                                       ":0:0 -f rawvideo -pix_fmt bgr24 " + ShellQuote(raw));
    const std::string windowsRaw = WindowsPathOfUnix(raw);
    if (decoded.exitCode != 0)
    {
        DeleteFileA(windowsRaw.c_str());
        return numbers;
    }
    std::ifstream in(windowsRaw, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    DeleteFileA(windowsRaw.c_str());
    const size_t stride = static_cast<size_t>(width) * 3;
    const size_t frameSize = stride * kStampRows;
    for (size_t offset = 0; frameSize && offset + frameSize <= bytes.size(); offset += frameSize)
    {
        uint32_t number = 0;
        if (ReadFrameNumberTopDown(&bytes[offset], width, kStampRows, static_cast<LONG>(stride), &number))
            numbers.push_back(number);
        else if (unreadable)
            ++*unreadable;
    }
    return numbers;
}

}  // namespace support
