// Recording scenarios: the program in AVI mode with a unique base name, and the
// checks that the written clip holds every camera frame once.
#pragma once

#include <string>

#include "driver/MediaChecks.h"
#include "driver/TarnviewTest.h"

namespace e2e
{

class RecordingTest : public TarnviewTest
{
protected:
    // Registers the camera, starts the program and switches it to AVI mode.
    void StartInAviMode(DeviceSettings settings = {});
    // Records with the given boxes until the recording stops by itself; returns the path.
    std::string RecordFor(const std::string& durationText, const std::string& rateText);
    std::string ClipPath(int counter) const;
    // Starts a recording with duration 0 (until stopped) at the rate in the box.
    void StartOpenEndedRecording();
    // Stops the recording by hand; the first clip is the one shown, and what ffprobe says of it.
    VideoFacts StopAndProbeFirstClip();

    // ffprobe's frame count within the tolerance, the size, and consecutive stamps.
    void ExpectWholeClip(const std::string& path, int width, int height, long frames, long tolerance);
    // A clip cut short (a kill, a full disk): readable, every frame in it stamped and in
    // order with none missing; returns how many frames it holds (0 when unreadable).
    long ExpectUnbrokenClip(const std::string& path, int width);
};

}  // namespace e2e
