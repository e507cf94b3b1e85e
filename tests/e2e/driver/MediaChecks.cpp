#include "driver/MediaChecks.h"

#include <windows.h>
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "unixtools/UnixTools.h"
#include "support/TempFolder.h"
#include "support/VideoProbe.h"

namespace e2e
{

using namespace support;

std::vector<unsigned char> ReadFileBytes(const std::string& windowsPath)
{
    return support::ReadFileBytes(windowsPath);
}

ImageFacts Identify(const std::string& windowsPath)
{
    ImageFacts facts;
    UnixResult result =
        RunUnix("identify -format 'format=%m\\nwidth=%w\\nheight=%h\\ndepth=%z\\ntype=%[type]\\n' " +
                ShellQuote(UnixPath(windowsPath)));
    facts.raw = result.output;
    if (result.exitCode != 0)
        return facts;
    facts.readable = true;
    facts.format = support::ValueOf(result.output, "format");
    facts.width = atoi(support::ValueOf(result.output, "width").c_str());
    facts.height = atoi(support::ValueOf(result.output, "height").c_str());
    facts.depth = atoi(support::ValueOf(result.output, "depth").c_str());
    facts.type = support::ValueOf(result.output, "type");
    return facts;
}

VideoFacts Probe(const std::string& windowsPath)
{
    const support::VideoProbe probe = support::ProbeVideo(UnixPath(windowsPath));
    VideoFacts facts;
    facts.raw = probe.log;
    facts.readable = probe.readable;
    facts.codec = probe.codec;
    facts.width = probe.width;
    facts.height = probe.height;
    facts.frames = probe.decodedFrames;
    facts.slots = probe.headerFrames;
    facts.frameRate = probe.fps;
    return facts;
}

void ExpectFramesCover(const VideoFacts& facts, long frames, long tolerance)
{
    // A clip starts with the camera's first frame, which a loaded machine's camera
    // delivers up to a second after the recording started.
    const long startUp = std::lround(facts.frameRate);
    EXPECT_GE(facts.slots, frames - tolerance - startUp) << facts.raw;
    EXPECT_LE(facts.frames, frames + tolerance) << facts.raw;
    EXPECT_LE(facts.frames, facts.slots) << facts.raw;
}

std::vector<uint32_t> StampedFrameNumbers(const std::string& windowsPath, int width, int* unreadable)
{
    return support::StampedFrameNumbers(UnixPath(windowsPath), width, unreadable);
}

}  // namespace e2e
