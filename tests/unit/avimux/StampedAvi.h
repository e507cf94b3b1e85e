// Test files made with the OpenDML writer: RGB24 frames carrying the camera's frame
// stamp, so that reading them back with ffmpeg shows which frames a file holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "avimux/AviVideoFormat.h"
#include "avimux/OpenDmlWriter.h"

// height < 0: top-down rows.
AviVideoFormat Rgb24Format(LONG width, LONG height, REFERENCE_TIME frameDuration = 333333);
DWORD FrameBytesOf(const AviVideoFormat& format);

// A DIB in the format's layout: a pattern that depends on the number, and the stamp.
std::vector<BYTE> StampedFrame(const AviVideoFormat& format, uint32_t number);
// The same frame as ffmpeg hands it back: top-down packed BGR rows.
std::vector<BYTE> TopDownPacked(const AviVideoFormat& format, const std::vector<BYTE>& dib);

struct WrittenAvi
{
    HRESULT hr = E_FAIL;  // first failure, or S_OK
    ULONGLONG frames = 0;
    size_t segments = 0;
};

// Writes frames 0..count-1 and finishes the file.
WrittenAvi WriteStampedAvi(const std::string& unixPath, const AviVideoFormat& format, uint32_t count,
                           ULONGLONG segmentLimit = kMaxSegmentBytes);
// Writes frame n stamped at slots[n] frame intervals, as a camera that drops frames
// sends them, and finishes the file.
WrittenAvi WriteStampedAviAt(const std::string& unixPath, const AviVideoFormat& format,
                             const std::vector<uint32_t>& slots, ULONGLONG segmentLimit = kMaxSegmentBytes);

// Opened for the writer: read/write, readable by ffprobe meanwhile.
HANDLE CreateAviFile(const std::string& unixPath);

// Frame numbers 0, 1, 2... with none missing or repeated.
bool NumberedFromZero(const std::vector<uint32_t>& numbers);
