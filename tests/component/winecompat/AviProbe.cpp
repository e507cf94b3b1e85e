#include "AviProbe.h"

#include <cstdio>
#include <sstream>

#include "TestFiles.h"
#include "UnixShell.h"

namespace {

std::string Value(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    }
    return {};
}

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

}  // namespace

AviVideoInfo ProbeAvi(const std::string& unixPath)
{
    const std::string command =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_frames,nb_read_frames -of default=noprint_wrappers=1 " +
        unixPath;
    ShellResult run = RunUnixShell(command, ScratchDirUnix() + "/ffprobe.log", 60000);
    AviVideoInfo info;
    info.log = run.output;
    if (!run.finished || run.exitCode != 0)
        return info;
    info.width = static_cast<int>(NumberOr(Value(run.output, "width"), 0));
    info.height = static_cast<int>(NumberOr(Value(run.output, "height"), 0));
    info.codec = Value(run.output, "codec_name");
    info.frameRate = Value(run.output, "r_frame_rate");
    info.fps = EvaluateRate(info.frameRate);
    info.headerFrames = NumberOr(Value(run.output, "nb_frames"), -1);
    info.decodedFrames = NumberOr(Value(run.output, "nb_read_frames"), -1);
    info.readable = info.width > 0;
    printf("ffprobe %s: %dx%d %s r_frame_rate=%s nb_frames=%ld nb_read_frames=%ld\n", unixPath.c_str(), info.width,
           info.height, info.codec.c_str(), info.frameRate.c_str(), info.headerFrames, info.decodedFrames);
    // Anything but key=value lines is ffprobe reporting a problem with the file.
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.find('=') == std::string::npos)
            info.errors = true;
    }
    return info;
}

bool MakeTestClip(const std::string& unixPath, int seconds, int fps)
{
    const std::string command = "ffmpeg -y -v error -f lavfi -i testsrc=size=640x480:rate=" + std::to_string(fps) +
                                " -t " + std::to_string(seconds) + " -pix_fmt bgr24 -c:v rawvideo " + unixPath;
    ShellResult run = RunUnixShell(command, ScratchDirUnix() + "/ffmpeg.log", 120000);
    return run.finished && run.exitCode == 0 && FileExistsUnix(unixPath);
}
