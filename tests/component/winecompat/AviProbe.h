// What ffprobe reads from an AVI file's first video stream.
#pragma once

#include <string>

struct AviVideoInfo {
    bool readable = false;   // ffprobe ran and found a video stream
    std::string log;         // ffprobe's whole output, for failure messages
    int width = 0;
    int height = 0;
    std::string codec;
    std::string frameRate;   // r_frame_rate, e.g. "30/1" or "10000000/333333"
    double fps = 0;          // r_frame_rate evaluated
    long headerFrames = -1;  // nb_frames: the stream header's length
    long decodedFrames = -1; // nb_read_frames: frames ffprobe actually decoded
    bool errors = false;     // ffprobe complained about the file
};

AviVideoInfo ProbeAvi(const std::string& unixPath);

// Makes a 640x480 RGB24 test clip of `seconds` at `fps` with ffmpeg.
bool MakeTestClip(const std::string& unixPath, int seconds, int fps);
