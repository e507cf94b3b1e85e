#include "decoders/MjpegFormats.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <cstddef>

#include "comkit/VideoHeader.h"
#include "decoders/YuvToRgb.h"

namespace decoders
{

namespace
{

REFERENCE_TIME FrameInterval(const AM_MEDIA_TYPE& type)
{
    if (type.formattype == FORMAT_VideoInfo2)
        return reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->AvgTimePerFrame;
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->AvgTimePerFrame;
}

HRESULT RgbType(const AM_MEDIA_TYPE& input, const BITMAPINFOHEADER& in, WORD bitCount,
                comkit::MediaType* type)
{
    auto* format = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!format)
        return E_OUTOFMEMORY;
    *format = VIDEOINFOHEADER{};
    format->AvgTimePerFrame = FrameInterval(input);
    BITMAPINFOHEADER& out = format->bmiHeader;
    out.biSize = sizeof(BITMAPINFOHEADER);
    out.biWidth = in.biWidth;
    out.biHeight = in.biHeight < 0 ? -in.biHeight : in.biHeight;
    out.biPlanes = 1;
    out.biBitCount = bitCount;
    out.biCompression = BI_RGB;
    out.biSizeImage = static_cast<DWORD>(RgbFrameBytes(out.biWidth, out.biHeight, bitCount));
    format->dwBitRate = static_cast<DWORD>(
        format->AvgTimePerFrame > 0 ? out.biSizeImage * 8LL * 10000000 / format->AvgTimePerFrame : 0);
    AM_MEDIA_TYPE& mt = type->Edit();
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = bitCount == 24 ? MEDIASUBTYPE_RGB24 : MEDIASUBTYPE_RGB32;
    mt.bFixedSizeSamples = TRUE;
    mt.bTemporalCompression = FALSE;
    mt.lSampleSize = out.biSizeImage;
    type->SetFormat(FORMAT_VideoInfo, reinterpret_cast<BYTE*>(format), sizeof(VIDEOINFOHEADER));
    return S_OK;
}

}  // namespace

const BITMAPINFOHEADER* VideoBitmapHeader(const AM_MEDIA_TYPE& type)
{
    return type.majortype == MEDIATYPE_Video ? comkit::VideoBitmapHeader(type) : nullptr;
}

bool IsMjpegInput(const AM_MEDIA_TYPE& type)
{
    const BITMAPINFOHEADER* in = VideoBitmapHeader(type);
    return in && type.subtype == MEDIASUBTYPE_MJPG && in->biCompression == MEDIASUBTYPE_MJPG.Data1 &&
           RgbFrameBytes(in->biWidth, in->biHeight, 32) != 0;
}

HRESULT RgbOutputTypes(const AM_MEDIA_TYPE& input, std::vector<comkit::MediaType>* types)
{
    if (!IsMjpegInput(input))
        return VFW_E_TYPE_NOT_ACCEPTED;
    try
    {
        types->clear();
        for (WORD bitCount : {WORD{24}, WORD{32}})
        {
            comkit::MediaType type;
            HRESULT hr = RgbType(input, *VideoBitmapHeader(input), bitCount, &type);
            if (FAILED(hr))
                return hr;
            types->push_back(std::move(type));
        }
        return S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

bool IsRgbOutputFor(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output)
{
    const BITMAPINFOHEADER* in = VideoBitmapHeader(input);
    const BITMAPINFOHEADER* out = VideoBitmapHeader(output);
    if (!in || !out || output.formattype != FORMAT_VideoInfo || out->biCompression != BI_RGB)
        return false;
    const bool depthMatches = (output.subtype == MEDIASUBTYPE_RGB24 && out->biBitCount == 24) ||
                              (output.subtype == MEDIASUBTYPE_RGB32 && out->biBitCount == 32);
    const LONG inRows = in->biHeight < 0 ? -in->biHeight : in->biHeight;
    const LONG outRows = out->biHeight < 0 ? -out->biHeight : out->biHeight;
    return depthMatches && out->biWidth == in->biWidth && outRows == inRows;
}

}  // namespace decoders
