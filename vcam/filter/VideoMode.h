// The camera's video formats as DirectShow media types (FORMAT_VideoInfo, or
// FORMAT_VideoInfo2 when asked), and back.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include "comkit/MediaType.h"
#include "vcam/registry/DeviceSettings.h"

// The stream's rates are those `--fps` takes: MaxFps (60) down to MinFps (1) a second.
constexpr REFERENCE_TIME MinFrameInterval = 10000000 / MaxFps;
constexpr REFERENCE_TIME MaxFrameInterval = 10000000 / MinFps;

struct VideoMode
{
    VideoFormat format;       // height < 0: top-down rows
    REFERENCE_TIME interval;  // 100 ns units per frame; 0 in a proposed type = "any"
};

// Bytes of one picture; for MJPG the most a frame may take.
LONG ImageSize(const VideoFormat& format);
REFERENCE_TIME IntervalForFps(unsigned fps);
REFERENCE_TIME ClampInterval(REFERENCE_TIME interval);
bool SameFormat(const VideoFormat& a, const VideoFormat& b);

// The format's subtype with a VIDEOINFOHEADER, or a VIDEOINFOHEADER2 when videoInfo2:
// biCompression the FOURCC (BI_RGB for RGB24), biBitCount 24/16/12, biSizeImage the
// picture's size (for MJPG the bound of every frame, whose samples vary in size).
HRESULT BuildVideoType(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out);
// Reads a video type of one of the camera's subtypes with either header; false for
// anything else or a malformed format block.
bool ReadVideoType(const AM_MEDIA_TYPE& mt, VideoMode* mode);
VIDEO_STREAM_CONFIG_CAPS CapsFor(const VideoFormat& format);
