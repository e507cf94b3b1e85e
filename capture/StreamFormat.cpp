#include "capture/StreamFormat.h"

#include <dvdmedia.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

#include "capture/FrameRate.h"
#include "capture/MediaTypeRecord.h"
#include "comkit/MediaType.h"

using comkit::TaskMediaType;
using Microsoft::WRL::ComPtr;

namespace
{
ComPtr<IAMStreamConfig> CapturePinConfig(ICaptureGraphBuilder2* builder, IBaseFilter* camera)
{
    ComPtr<IAMStreamConfig> config;
    builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_PPV_ARGS(&config));
    return config;
}

// GetStreamCaps fills a capability record of the size the pin reports, which may be
// more than a VIDEO_STREAM_CONFIG_CAPS.
TaskMediaType StreamCaps(IAMStreamConfig* config, int index, int capsSize)
{
    std::vector<BYTE> caps(
        std::max<size_t>(sizeof(VIDEO_STREAM_CONFIG_CAPS), static_cast<size_t>(std::max(capsSize, 0))));
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(config->GetStreamCaps(index, &type, caps.data())))
        return TaskMediaType();
    return TaskMediaType(type);
}

bool HoldsVideoInfo(const AM_MEDIA_TYPE& type)
{
    return type.formattype == FORMAT_VideoInfo && type.pbFormat && type.cbFormat >= sizeof(VIDEOINFOHEADER);
}
}  // namespace

void ApplyCaptureFormat(ICaptureGraphBuilder2* builder, IBaseFilter* camera, int& formatIndex)
{
    ComPtr<IAMStreamConfig> config = CapturePinConfig(builder, camera);
    int count = 0;
    int capsSize = 0;
    if (!config || FAILED(config->GetNumberOfCapabilities(&count, &capsSize)) || count < 0)
        count = 0;
    if (formatIndex >= count || formatIndex < 0)
        formatIndex = 0;
    if (count == 0)
        return;
    TaskMediaType type = StreamCaps(config.Get(), formatIndex, capsSize);
    if (type)
        config->SetFormat(type.get());
}

REFERENCE_TIME CurrentFrameInterval(ICaptureGraphBuilder2* builder, IBaseFilter* camera)
{
    ComPtr<IAMStreamConfig> config = CapturePinConfig(builder, camera);
    AM_MEDIA_TYPE* current = nullptr;
    if (!config || config->GetFormat(&current) != S_OK)
        return 0;
    TaskMediaType type(current);
    if (HoldsVideoInfo(*type))
        return reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame;
    if (type->formattype == FORMAT_VideoInfo2 && type->pbFormat && type->cbFormat >= sizeof(VIDEOINFOHEADER2))
        return reinterpret_cast<const VIDEOINFOHEADER2*>(type->pbFormat)->AvgTimePerFrame;
    return 0;
}

void ApplyFrameRate(ICaptureGraphBuilder2* builder, IBaseFilter* camera, UINT rate)
{
    ComPtr<IAMStreamConfig> config = CapturePinConfig(builder, camera);
    if (!config)
        return;
    AM_MEDIA_TYPE* current = nullptr;
    const HRESULT hr = config->GetFormat(&current);
    TaskMediaType type(hr == S_OK ? current : nullptr);
    if (hr != S_OK && SUCCEEDED(hr))
        DeleteMediaTypeRecord(current);
    if (!type || !HoldsVideoInfo(*type))
        return;
    reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame = FrameDuration100ns(rate);
    config->SetFormat(type.get());
}
