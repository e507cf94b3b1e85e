// What ffprobe and ffmpeg read from a video file the tests made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support
{

struct VideoProbe
{
    bool readable = false;  // ffprobe ran and found a video stream
    std::string log;        // ffprobe's whole output, for failure messages
    int width = 0;
    int height = 0;
    std::string codec;
    std::string frameRate;    // r_frame_rate, e.g. "30/1" or "10000000/333333"
    double fps = 0;           // r_frame_rate evaluated
    double seconds = 0;       // the stream's duration
    long headerFrames = -1;   // nb_frames: the stream header's length, dropped frames included
    long decodedFrames = -1;  // nb_read_frames: frames ffprobe actually decoded
    bool errors = false;      // ffprobe complained about the file
};

// ffprobe -count_frames on the first video stream of a file given by its Unix path.
VideoProbe ProbeVideo(const std::string& unixPath);

// The checks a recording test makes on what it wrote: readable, its size, its rate,
// about `frames` decoded and as long (within `tolerance`).
void ExpectVideo(const VideoProbe& probe, int width, int height, double fps, long frames, long tolerance = 2);

// Every frame the camera counted as sent is decoded; each slot it dropped is an empty
// chunk that the header counts too.
void ExpectCountedFrames(const VideoProbe& probe, long sent, long dropped);

// Decodes the top rows of every frame to BGR24 with ffmpeg (frames as stored, none
// repeated for a dropped one) and returns the frame
// numbers the virtual camera stamped into them, in file order; frames without a
// readable stamp are left out and counted in *unreadable.
constexpr int kStampRows = 16;
std::vector<uint32_t> StampedFrameNumbers(const std::string& unixPath, int width, int* unreadable = nullptr);

}  // namespace support
