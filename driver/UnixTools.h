// The checkers nobody here wrote (ffprobe, ffmpeg, ImageMagick) are Linux programs.
// Wine starts Unix programs through CreateProcess, but hands back neither their
// output pipes nor their exit codes, so commands write into a file that is read back.
#pragma once

#include <string>

namespace e2e {

struct UnixResult
{
    bool started = false;
    int exitCode = -1;
    std::string output;   // stdout and stderr together
};

UnixResult RunUnix(const std::string& shellCommand, unsigned deadlineMs = 300000);

// The Unix path of a Windows path in the prefix (for handing files to the checkers).
std::string UnixPath(const std::string& windowsPath);

// Single-quoted for /bin/sh.
std::string ShellQuote(const std::string& text);

}  // namespace e2e
