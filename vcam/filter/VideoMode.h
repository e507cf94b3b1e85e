// The camera's RGB24 video formats as DirectShow media types, and back.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include "comkit/MediaType.h"
#include "vcam/registry/DeviceSettings.h"

constexpr REFERENCE_TIME MinFrameInterval = 333333;    // 30 frames per second
constexpr REFERENCE_TIME MaxFrameInterval = 10000000;  // 1 frame per second

struct VideoMode
{
    VideoFormat format;       // height < 0: top-down rows
    REFERENCE_TIME interval;  // 100 ns units per frame; 0 in a proposed type = "any"
};

LONG ImageSize(const VideoFormat& format);
REFERENCE_TIME IntervalForFps(unsigned fps);
REFERENCE_TIME ClampInterval(REFERENCE_TIME interval);
bool SameFormat(const VideoFormat& a, const VideoFormat& b);

// RGB24 with a VIDEOINFOHEADER, or a VIDEOINFOHEADER2 when videoInfo2.
HRESULT BuildRgb24Type(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out);
// Reads an RGB24 video type with either header; false for anything else or a
// malformed format block.
bool ReadRgb24Type(const AM_MEDIA_TYPE& mt, VideoMode* mode);
VIDEO_STREAM_CONFIG_CAPS CapsFor(const VideoFormat& format);
