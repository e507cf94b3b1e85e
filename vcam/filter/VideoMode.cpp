#include "vcam/filter/VideoMode.h"

#include <cstdlib>

#include "vcam/frame/FrameGenerator.h"

namespace
{

BITMAPINFOHEADER Rgb24Header(const VideoFormat& format)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = format.width;
    header.biHeight = format.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
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

bool ReadHeader(const BITMAPINFOHEADER& header, VideoMode* mode)
{
    if (header.biBitCount != 24 || header.biCompression != BI_RGB)
        return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > MaxFormatSide ||
        std::labs(header.biHeight) > MaxFormatSide)
        return false;
    mode->format = VideoFormat{header.biWidth, header.biHeight};
    return header.biSizeImage == 0 || header.biSizeImage >= static_cast<DWORD>(ImageSize(mode->format));
}

}  // namespace

LONG ImageSize(const VideoFormat& format)
{
    return Rgb24Stride(format.width) * std::labs(format.height);
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
    return a.width == b.width && a.height == b.height;
}

HRESULT BuildRgb24Type(const VideoMode& mode, bool videoInfo2, comkit::MediaType* out)
{
    out->Clear();
    AM_MEDIA_TYPE& mt = out->Edit();
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_RGB24;
    mt.bFixedSizeSamples = TRUE;
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
        vih2->bmiHeader = Rgb24Header(mode.format);
        out->SetFormat(FORMAT_VideoInfo2, reinterpret_cast<BYTE*>(vih2), sizeof(VIDEOINFOHEADER2));
        return S_OK;
    }
    auto* vih = NewHeader<VIDEOINFOHEADER>();
    if (!vih)
        return E_OUTOFMEMORY;
    vih->dwBitRate = BitRate(mode);
    vih->AvgTimePerFrame = mode.interval;
    vih->bmiHeader = Rgb24Header(mode.format);
    out->SetFormat(FORMAT_VideoInfo, reinterpret_cast<BYTE*>(vih), sizeof(VIDEOINFOHEADER));
    return S_OK;
}

bool ReadRgb24Type(const AM_MEDIA_TYPE& mt, VideoMode* mode)
{
    if (mt.majortype != MEDIATYPE_Video || mt.subtype != MEDIASUBTYPE_RGB24 || !mt.pbFormat)
        return false;
    if (mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER))
    {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        mode->interval = vih->AvgTimePerFrame;
        return ReadHeader(vih->bmiHeader, mode);
    }
    if (mt.formattype == FORMAT_VideoInfo2 && mt.cbFormat >= sizeof(VIDEOINFOHEADER2))
    {
        const auto* vih2 = reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat);
        mode->interval = vih2->AvgTimePerFrame;
        return ReadHeader(vih2->bmiHeader, mode);
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
    caps.MaxBitsPerSecond = static_cast<LONG>(frameBits * 30 > LONG_MAX ? LONG_MAX : frameBits * 30);
    return caps;
}
