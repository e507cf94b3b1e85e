// The checkers nobody here wrote (ffprobe, ffmpeg, ImageMagick) are Linux programs.
// Wine starts Unix programs through CreateProcess, but hands back neither their
// output pipes nor their exit codes, so commands write into a file that is read back.
#pragma once

#include <string>

namespace support
{

struct UnixResult
{
    bool started = false;
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// This process's tag for names of scratch files in the shared /tmp: Wine numbers the
// processes of each prefix from the same small ids, so two test runs in two prefixes
// would otherwise pick the same names.
const std::string& ProcessTag();

UnixResult RunUnix(const std::string& shellCommand, unsigned deadlineMs = 300000);

// The Unix path of a Windows path in the prefix (for handing files to the checkers).
std::string UnixPath(const std::string& windowsPath);
// The Windows path of a Unix path, through the prefix's Z: drive.
std::string WindowsPathOfUnix(const std::string& unixPath);

// Single-quoted for /bin/sh.
std::string ShellQuote(const std::string& text);

// The value of a "key=value" line in a checker's output (ffprobe's default writer,
// identify -format); empty when there is none.
std::string ValueOf(const std::string& text, const std::string& key);

}  // namespace support
