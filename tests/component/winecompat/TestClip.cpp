#include "TestClip.h"

#include "TestFiles.h"
#include "unixtools/UnixTools.h"

bool MakeTestClip(const std::string& unixPath, int seconds, int fps)
{
    const std::string command =
        "ffmpeg -y -v error -f lavfi -i testsrc=size=640x480:rate=" + std::to_string(fps) + " -t " +
        std::to_string(seconds) + " -pix_fmt bgr24 -c:v rawvideo " + support::ShellQuote(unixPath);
    const support::UnixResult run = support::RunUnix(command, 120000);
    return run.exitCode == 0 && FileExistsUnix(unixPath);
}
