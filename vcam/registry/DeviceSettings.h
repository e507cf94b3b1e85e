// The settings a registered virtual device carries, stored as values beside its
// FriendlyName in the device's key and read back through the device's property bag.
//
// Stored values (missing ones mean the default):
//   TarnviewFormats          REG_SZ     "640x480,YUY2:320x240,640x-480" (no subtype = RGB24;
//                                       negative height = a top-down RGB24 picture)
//   TarnviewFps              REG_DWORD  frames per second, 1..60
//   TarnviewVideoInfo2       REG_DWORD  0/1: offer VIDEOINFOHEADER2 formats
//   TarnviewPreviewPin       REG_DWORD  0/1: a preview pin beside the capture pin
//   TarnviewVideoPortPin     REG_DWORD  0/1: a video port pin
//   TarnviewFaults           REG_DWORD  VcamFault bits
//   TarnviewStopAfter        REG_DWORD  frames delivered before the stream ends, 0 = never
//   TarnviewStarDensity      REG_DWORD  0..100
//   TarnviewBrightness       REG_DWORD  0..100
//   TarnviewShowFrameNumber  REG_DWORD  0/1
//   TarnviewPattern          REG_DWORD  0 night sky, 1 colour bars
//   TarnviewExposure         REG_DWORD  microseconds per frame, 0 = automatic
//   TarnviewFirstFrameDelay  REG_DWORD  microseconds the first frame of a run comes late
//   TarnviewJitter           REG_DWORD  microseconds: each frame comes up to this much late
//   TarnviewDropFrom         REG_DWORD  first frame number of a burst of dropped frames
//   TarnviewDropCount        REG_DWORD  frames in that burst, 0 = none
//   TarnviewDevice           REG_DWORD  1: marks a device as registered by vcamctl
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <string>
#include <vector>

#include "vcam/frame/SceneSettings.h"

// The pictures a USB camera sends; all but RGB24 carry even sizes and top-down rows.
enum class VideoSubtype
{
    Rgb24,
    Yuy2,
    Uyvy,
    I420,
    Nv12,
    Mjpg
};

struct VideoFormat
{
    LONG width;
    LONG height;  // negative = top-down (RGB24 only)
    VideoSubtype subtype = VideoSubtype::Rgb24;
};

namespace VcamFault
{
enum : unsigned
{
    NoStreamConfig = 1,
    NoCapabilities = 2,
    GetStreamCapsFails = 4,
    GetFormatFails = 8,
    NoPropertyPages = 16,
    Unplug = 32,  // the end after stopAfterFrames is an unplug: EC_DEVICE_LOST in the graph
    Replug = 64   // and the device comes back two seconds later (EC_DEVICE_LOST with 1)
};
}

struct DeviceSettings
{
    std::vector<VideoFormat> formats;  // empty = the default list
    unsigned fps = 30;
    bool videoInfo2 = false;
    bool previewPin = false;
    bool videoPortPin = false;
    unsigned faults = 0;
    unsigned stopAfterFrames = 0;  // 0 = never
    SceneSettings scene;
    // Irregular delivery, in 100 ns units; frames are still stamped on the frame grid.
    LONGLONG firstFrameDelay = 0;
    LONGLONG jitter = 0;
    // Frames numbered dropFrom .. dropFrom + dropCount - 1 are never delivered.
    unsigned dropFrom = 0;
    unsigned dropCount = 0;
};

namespace VcamValue
{
constexpr const wchar_t* Formats = L"TarnviewFormats";
constexpr const wchar_t* Fps = L"TarnviewFps";
constexpr const wchar_t* VideoInfo2 = L"TarnviewVideoInfo2";
constexpr const wchar_t* PreviewPin = L"TarnviewPreviewPin";
constexpr const wchar_t* VideoPortPin = L"TarnviewVideoPortPin";
constexpr const wchar_t* Faults = L"TarnviewFaults";
constexpr const wchar_t* StopAfter = L"TarnviewStopAfter";
constexpr const wchar_t* StarDensity = L"TarnviewStarDensity";
constexpr const wchar_t* Brightness = L"TarnviewBrightness";
constexpr const wchar_t* ShowFrameNumber = L"TarnviewShowFrameNumber";
constexpr const wchar_t* Pattern = L"TarnviewPattern";
constexpr const wchar_t* Exposure = L"TarnviewExposure";
constexpr const wchar_t* FirstFrameDelay = L"TarnviewFirstFrameDelay";
constexpr const wchar_t* Jitter = L"TarnviewJitter";
constexpr const wchar_t* DropFrom = L"TarnviewDropFrom";
constexpr const wchar_t* DropCount = L"TarnviewDropCount";
constexpr const wchar_t* Marker = L"TarnviewDevice";
}  // namespace VcamValue

constexpr unsigned MinFps = 1;
constexpr unsigned MaxFps = 60;
constexpr LONG MaxFormatSide = 4096;
constexpr LONGLONG MaxDelay = 60LL * 10000000;  // first-frame delay and jitter

// 640x480, 320x240, 1280x960, 642x480, 640x-480, in that order.
std::vector<VideoFormat> DefaultFormats();

// The formats a device offers: its own list, or the default list when it has none.
std::vector<VideoFormat> EffectiveFormats(const DeviceSettings& settings);

// Whether every value lies in the range LoadDeviceSettings accepts (the scene is clamped
// when saved, so any scene passes). A device saved with bad values could not be bound.
bool SettingsAreValid(const DeviceSettings& settings);

// Reads the values above; a missing value keeps its default, a value out of range or
// unreadable fails with E_INVALIDARG and leaves *out untouched.
HRESULT LoadDeviceSettings(IPropertyBag* bag, DeviceSettings* out);

// Writes every value above (the formats only when the list is not empty) and the marker.
HRESULT SaveDeviceSettings(IPropertyBag* bag, const DeviceSettings& settings);

// "640x480,YUY2:320x240,MJPG:1280x960,640x-480" (subtypes RGB24, YUY2, UYVY, I420, NV12,
// MJPG). Parsing rejects empty items, sizes of 0 or beyond MaxFormatSide, a negative
// width, odd sizes or a negative height with a subtype other than RGB24, and trailing
// junk; *out is set only on success.
std::wstring FormatsToText(const std::vector<VideoFormat>& formats);
bool ParseFormats(const std::wstring& text, std::vector<VideoFormat>* out);
bool FormatIsValid(const VideoFormat& format);

// The catalogs of devices like real ones: "webcam" (YUY2, and MJPG at the large sizes
// only) and "night-sky" (RGB24 and YUY2). False for an unknown name.
bool ProfileFormats(const std::wstring& name, std::vector<VideoFormat>* out);

// Seconds as decimal text ("4", "0.25"), to 100 ns units within [0, max]; at most six
// decimals. *out is set only on success.
bool ParseSeconds(const std::wstring& text, LONGLONG max, LONGLONG* out);
std::wstring SecondsToText(LONGLONG time);

// "N:K": K frames dropped from frame number N on.
bool ParseDropBurst(const std::wstring& text, unsigned* from, unsigned* count);

// "no-stream-config,no-caps,caps-fail,format-fail,no-pages,unplug,replug" (empty = none).
std::wstring FaultsToText(unsigned faults);
bool ParseFaults(const std::wstring& text, unsigned* out);
