// Test clips for the recordings to read (ffprobe's findings: support/VideoProbe.h).
#pragma once

#include <string>

// Makes a 640x480 RGB24 test clip of `seconds` at `fps` with ffmpeg.
bool MakeTestClip(const std::string& unixPath, int seconds, int fps);
