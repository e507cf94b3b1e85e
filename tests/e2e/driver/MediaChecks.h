// What the independent tools say about the files Tarnview wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e
{

struct ImageFacts
{
    bool readable = false;
    std::string format;  // "BMP" / "BMP3"
    int width = 0;
    int height = 0;
    int depth = 0;     // bits per channel
    std::string type;  // "TrueColor" ...
    std::string raw;   // identify's own words, for failure messages
};

// ImageMagick identify on a file given by its Windows path.
ImageFacts Identify(const std::string& windowsPath);

struct VideoFacts
{
    bool readable = false;
    std::string codec;
    int width = 0;
    int height = 0;
    long frames = -1;      // frames actually decoded (ffprobe -count_frames)
    long slots = -1;       // frame slots in the header: frames plus the camera's dropped ones
    double frameRate = 0;  // r_frame_rate
    std::string raw;
};

// ffprobe on an AVI given by its Windows path.
VideoFacts Probe(const std::string& windowsPath);

// A clip of about `frames` frames: its slots span them (a loaded machine makes the camera
// drop frames, which the writer keeps as empty slots), and it holds no more than them.
void ExpectFramesCover(const VideoFacts& facts, long frames, long tolerance);

// Decodes the top rows of every frame of the video to BGR24 with ffmpeg and returns
// the frame numbers the virtual camera stamped into them (frames without a stamp are
// skipped and counted in *unreadable).
std::vector<uint32_t> StampedFrameNumbers(const std::string& windowsPath, int width, int* unreadable);

// Reads a whole file (Windows path).
std::vector<unsigned char> ReadFileBytes(const std::string& windowsPath);

}  // namespace e2e
