#include "driver/MediaChecks.h"

#include <windows.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "driver/UnixTools.h"
#include "vcam/frame/FrameStamp.h"

namespace e2e {

namespace {

std::string ValueOf(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    }
    return {};
}

double ParseRate(const std::string& rate)
{
    size_t slash = rate.find('/');
    if (slash == std::string::npos)
        return atof(rate.c_str());
    double denominator = atof(rate.c_str() + slash + 1);
    return denominator == 0 ? 0 : atof(rate.substr(0, slash).c_str()) / denominator;
}

}  // namespace

std::vector<unsigned char> ReadFileBytes(const std::string& windowsPath)
{
    std::ifstream in(windowsPath, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

ImageFacts Identify(const std::string& windowsPath)
{
    ImageFacts facts;
    UnixResult result = RunUnix("identify -format 'format=%m\\nwidth=%w\\nheight=%h\\ndepth=%z\\ntype=%[type]\\n' " +
                                ShellQuote(UnixPath(windowsPath)));
    facts.raw = result.output;
    if (result.exitCode != 0)
        return facts;
    facts.readable = true;
    facts.format = ValueOf(result.output, "format");
    facts.width = atoi(ValueOf(result.output, "width").c_str());
    facts.height = atoi(ValueOf(result.output, "height").c_str());
    facts.depth = atoi(ValueOf(result.output, "depth").c_str());
    facts.type = ValueOf(result.output, "type");
    return facts;
}

VideoFacts Probe(const std::string& windowsPath)
{
    VideoFacts facts;
    UnixResult result = RunUnix(
        "ffprobe -v error -count_frames -select_streams v:0 "
        "-show_entries stream=codec_name,width,height,nb_read_frames,r_frame_rate -of default=nw=1 " +
        ShellQuote(UnixPath(windowsPath)));
    facts.raw = result.output;
    if (result.exitCode != 0 || ValueOf(result.output, "width").empty())
        return facts;
    facts.readable = true;
    facts.codec = ValueOf(result.output, "codec_name");
    facts.width = atoi(ValueOf(result.output, "width").c_str());
    facts.height = atoi(ValueOf(result.output, "height").c_str());
    std::string frames = ValueOf(result.output, "nb_read_frames");
    facts.frames = frames.empty() || frames == "N/A" ? -1 : atol(frames.c_str());
    facts.frameRate = ParseRate(ValueOf(result.output, "r_frame_rate"));
    return facts;
}

std::vector<uint32_t> StampedFrameNumbers(const std::string& windowsPath, int width, int* unreadable)
{
    // Only the top rows carry the stamp; decoding just those keeps large clips small.
    const int height = kStampRows;
    std::vector<uint32_t> numbers;
    if (unreadable)
        *unreadable = 0;
    char tempDir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tempDir);
    std::string rawPath = std::string(tempDir) + "tarnview-frames-" + std::to_string(GetCurrentProcessId()) + ".raw";
    UnixResult result = RunUnix("ffmpeg -v error -y -i " + ShellQuote(UnixPath(windowsPath)) +
                                " -vf crop=iw:" + std::to_string(kStampRows) + ":0:0 -f rawvideo -pix_fmt bgr24 " + ShellQuote(UnixPath(rawPath)));
    if (result.exitCode != 0)
        return numbers;
    std::vector<unsigned char> bytes = ReadFileBytes(rawPath);
    DeleteFileA(rawPath.c_str());
    const size_t stride = static_cast<size_t>(width) * 3;
    const size_t frameSize = stride * static_cast<size_t>(height);
    for (size_t offset = 0; frameSize && offset + frameSize <= bytes.size(); offset += frameSize) {
        uint32_t number = 0;
        if (ReadFrameNumberTopDown(&bytes[offset], width, height, static_cast<LONG>(stride), &number))
            numbers.push_back(number);
        else if (unreadable)
            ++*unreadable;
    }
    return numbers;
}

}  // namespace e2e
