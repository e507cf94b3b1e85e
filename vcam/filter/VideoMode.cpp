#include "vcam/filter/VideoMode.h"

#include <cstdlib>

#include "vcam/frame/FrameLayout.h"
#include "vcam/frame/YuvPacking.h"

namespace
{

struct SubtypeInfo
{
    VideoSubtype subtype;
    DWORD compression;  // FOURCC, or BI_RGB
    WORD bitCount;
};

constexpr DWORD FourCc(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<BYTE>(a)) | static_cast<DWORD>(static_cast<BYTE>(b)) << 8 |
           static_cast<DWORD>(static_cast<BYTE>(c)) << 16 | static_cast<DWORD>(static_cast<BYTE>(d)) << 24;
}

constexpr SubtypeInfo Subtypes[] = {
    {VideoSubtype::Rgb24, BI_RGB, 24},
    {VideoSubtype::Yuy2, FourCc('Y', 'U', 'Y', '2'), 16},
    {VideoSubtype::Uyvy, FourCc('U', 'Y', 'V', 'Y'), 16},
    {VideoSubtype::I420, FourCc('I', '4', '2', '0'), 12},
    {VideoSubtype::Nv12, FourCc('N', 'V', '1', '2'), 12},
    {VideoSubtype::Mjpg, FourCc('M', 'J', 'P', 'G'), 24},
};

const SubtypeInfo& InfoOf(VideoSubtype subtype)
{
    for (const SubtypeInfo& info : Subtypes)
        if (info.subtype == subtype)
            return info;
    return Subtypes[0];
}

// The media subtype GUID: MEDIASUBTYPE_RGB24, or the FOURCC pattern the others follow.
GUID SubtypeGuid(VideoSubtype subtype)
{
    if (subtype == VideoSubtype::Rgb24)
        return MEDIASUBTYPE_RGB24;
    GUID guid = MEDIASUBTYPE_YUY2;
    guid.Data1 = InfoOf(subtype).compression;
    return guid;
}

bool SubtypeOf(const GUID& guid, VideoSubtype* subtype)
{
    for (const SubtypeInfo& info : Subtypes)
    {
        if (SubtypeGuid(info.subtype) == guid)
        {
            *subtype = info.subtype;
            return true;
        }
    }
    return false;
}

BITMAPINFOHEADER VideoHeader(const VideoFormat& format)
{
    const SubtypeInfo& info = InfoOf(format.subtype);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = format.width;
    header.biHeight = format.height;
    header.biPlanes = 1;
    header.biBitCount = info.bitCount;
    header.biCompression = info.compression;
    header.biSizeImage = static_cast<DWORD>(ImageSize(format));
    return header;
}

DWORD BitRate(const VideoMode& mode)
{
    const LONGLONG bits = static_cast<LONGLONG>(ImageSize(mode.format)) * 8 * 10000000 / mode.interval;
    return bits > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bits);
}

template <typename Header>
Header* NewHeader()
{
    auto* header = static_cast<Header*>(CoTaskMemAlloc(sizeof(Header)));
    if (header)
        ZeroMemory(header, sizeof(Header));
    return header;
}

bool ReadHeader(const BITMAPINFOHEADER& header, VideoSubtype subtype, VideoMode* mode)
{
    const SubtypeInfo& info = InfoOf(subtype);
    if (header.biBitCount != info.bitCount || header.biCompression != info.compression)
        return false;
    const VideoFormat format{header.biWidth, header.biHeight, subtype};
    if (!FormatIsValid(format))
        return false;
    mode->format = format;
    return header.biSizeImage == 0 || header.biSizeImage >= static_cast<DWORD>(ImageSize(mode->format));
}

}  // namespace

LONG ImageSize(const VideoFormat& format)
{
    switch (format.subtype)
    {
    case VideoSubtype::Yuy2:
        return YuvImageSize(YuvPacking::Yuy2, format.width, format.height);
    case VideoSubtype::Uyvy:
        return YuvImageSize(YuvPacking::Uyvy, format.width, format.height);
    case VideoSubtype::I420:
    case VideoSubtype::Nv12:
        return YuvImageSize(YuvPacking::I420, format.width, format.height);
    default:
        // MJPG: the RGB24 picture's size bounds every JPEG the encoder makes of it.
        return Rgb24Stride(format.width) * std::labs(format.height);
    }
}

REFERENCE_TIME IntervalForFps(unsigned fps)
{
    return fps ? 10000000 / static_cast<REFERENCE_TIME>(fps) : MaxFrameInterval;
}

REFERENCE_TIME ClampInterval(REFERENCE_TIME interval)
{
    if (interval < MinFrameInterval)
        return MinFrameInterval;
    return interval > MaxFrameInterval ? MaxFrameInterval : interval;
}

bool SameFormat(const VideoFormat& a, const VideoFormat& b)
{
    return a.width == b.width && a.height == b.height && a.subtype == b.subtype;
}

HRESULT BuildVideoType(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out)
{
    out->Clear();
    AM_MEDIA_TYPE& mt = out->Edit();
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = SubtypeGuid(mode.format.subtype);
    // JPEG frames vary in size; biSizeImage is their upper bound.
    mt.bFixedSizeSamples = mode.format.subtype != VideoSubtype::Mjpg;
    mt.bTemporalCompression = FALSE;
    mt.lSampleSize = static_cast<ULONG>(ImageSize(mode.format));
    if (videoInfo2)
    {
        auto* vih2 = NewHeader<VIDEOINFOHEADER2>();
        if (!vih2)
            return E_OUTOFMEMORY;
        vih2->dwBitRate = BitRate(mode);
        vih2->AvgTimePerFrame = mode.interval;
        vih2->dwPictAspectRatioX = static_cast<DWORD>(mode.format.width);
        vih2->dwPictAspectRatioY = static_cast<DWORD>(std::labs(mode.format.height));
        vih2->bmiHeader = VideoHeader(mode.format);
        out->SetFormat(FORMAT_VideoInfo2, reinterpret_cast<BYTE*>(vih2), sizeof(VIDEOINFOHEADER2));
        return S_OK;
    }
    auto* vih = NewHeader<VIDEOINFOHEADER>();
    if (!vih)
        return E_OUTOFMEMORY;
    vih->dwBitRate = BitRate(mode);
    vih->AvgTimePerFrame = mode.interval;
    vih->bmiHeader = VideoHeader(mode.format);
    out->SetFormat(FORMAT_VideoInfo, reinterpret_cast<BYTE*>(vih), sizeof(VIDEOINFOHEADER));
    return S_OK;
}

bool ReadVideoType(const AM_MEDIA_TYPE& mt, VideoMode* mode)
{
    VideoSubtype subtype = VideoSubtype::Rgb24;
    if (mt.majortype != MEDIATYPE_Video || !SubtypeOf(mt.subtype, &subtype) || !mt.pbFormat)
        return false;
    if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER))
    {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        mode->interval = vih->AvgTimePerFrame;
        return ReadHeader(vih->bmiHeader, subtype, mode);
    }
    if (mt.formattype == FORMAT_VideoInfo2 && mt.cbFormat >= sizeof(VIDEOINFOHEADER2))
    {
        const auto* vih2 = reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat);
        mode->interval = vih2->AvgTimePerFrame;
        return ReadHeader(vih2->bmiHeader, subtype, mode);
    }
    return false;
}

VIDEO_STREAM_CONFIG_CAPS CapsFor(const VideoFormat& format)
{
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    const SIZE size = {format.width, std::labs(format.height)};
    caps.guid = FORMAT_VideoInfo;
    caps.VideoStandard = 0;
    caps.InputSize = size;
    caps.MinCroppingSize = size;
    caps.MaxCroppingSize = size;
    caps.CropGranularityX = 1;
    caps.CropGranularityY = 1;
    caps.CropAlignX = 1;
    caps.CropAlignY = 1;
    caps.MinOutputSize = size;
    caps.MaxOutputSize = size;
    caps.OutputGranularityX = 1;
    caps.OutputGranularityY = 1;
    caps.MinFrameInterval = MinFrameInterval;
    caps.MaxFrameInterval = MaxFrameInterval;
    const LONGLONG frameBits = static_cast<LONGLONG>(ImageSize(format)) * 8;
    caps.MinBitsPerSecond = static_cast<LONG>(frameBits > LONG_MAX ? LONG_MAX : frameBits);
    const LONGLONG fastest = frameBits * MaxFps;
    caps.MaxBitsPerSecond = static_cast<LONG>(fastest > LONG_MAX ? LONG_MAX : fastest);
    return caps;
}
