// A writer process for the kill tests: it writes stamped frames until it is killed and
// publishes, after every frame, how many frames and segments the writer has taken.
#pragma once

#include <windows.h>

#include <string>

struct WriterProgress
{
    volatile LONG frames;
    volatile LONG segments;
};

// Segments of about 70 frames: more than the second between header updates.
constexpr ULONGLONG kKillTestSegmentLimit = 16 << 20;
constexpr const char* kKillableWriterSwitch = "--killable-writer";

// In the child: writes to `unixPath`, publishing through the inherited mapping handle
// (its value in decimal). Returns the exit code (it only returns when something failed).
int RunKillableWriter(const std::string& unixPath, const std::string& progressHandle);
