#include "capture/PreviewGraph.h"

#include "capture/ErrorTexts.h"
#include "capture/FrameSize.h"
#include "capture/MediaTypeRecord.h"
#include "capture/QeditClsids.h"
#include "capture/StreamFormat.h"

using Microsoft::WRL::ComPtr;

namespace
{
GraphBuildStatus AddGrabber(IGraphBuilder* graph, ComPtr<ISampleGrabber>& grabber)
{
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&grabber));
    if (!grabber)
        return StepFailed(ErrorText::kCreateSampleGrabber, FAILED(hr) ? hr : E_FAIL);
    ComPtr<IBaseFilter> filter;
    grabber.As(&filter);
    MediaTypeRecord grabType;
    grabType.SetMajorType(MEDIATYPE_Video);
    grabType.SetSubtype(MEDIASUBTYPE_RGB24);
    if (FAILED(hr = grabber->SetMediaType(&grabType)))
        return StepFailed(ErrorText::kSetMediaType, hr);
    if (FAILED(hr = graph->AddFilter(filter.Get(), L"Grabber")))
        return StepFailed(ErrorText::kAddGrabber, hr);
    return {};
}

// A video-port pin cannot feed the default renderer: such a camera gets a null one.
GraphBuildStatus AddRendererForVideoPort(IGraphBuilder* graph, ICaptureGraphBuilder2* builder,
                                         IBaseFilter* camera, ComPtr<IBaseFilter>& renderer)
{
    ComPtr<IPin> videoPortPin;
    if (builder->FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_VIDEOPORT, nullptr, FALSE, 0,
                         videoPortPin.GetAddressOf()) != S_OK)
        return {};
    HRESULT hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&renderer));
    if (FAILED(hr))
        return StepFailed(ErrorText::kMakeNullRenderer, hr);
    if (FAILED(hr = graph->AddFilter(renderer.Get(), L"NULL renderer")))
        return StepFailed(ErrorText::kAddNullRenderer, hr);
    return {};
}

// The camera's stream through the grabber: interleaved preview, then video preview,
// then the capture pin. The first that connects wins.
HRESULT RenderThroughGrabber(ICaptureGraphBuilder2* builder, IBaseFilter* camera, IBaseFilter* grabber,
                             IBaseFilter* renderer)
{
    HRESULT hr =
        builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, camera, grabber, renderer);
    if (SUCCEEDED(hr))
        return hr;
    hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, grabber, renderer);
    if (SUCCEEDED(hr))
        return hr;
    return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, grabber, renderer);
}

GraphBuildStatus RenderCamera(PreviewGraph& preview, IBaseFilter* camera, int& formatIndex)
{
    ComPtr<ICaptureGraphBuilder2> builder;
    GraphBuildStatus status =
        CreateCaptureBuilder(ErrorText::kPreviewSteps, CLSCTX_INPROC, preview.graph.Get(), builder);
    if (status.Failed())
        return status;
    ApplyCaptureFormat(builder.Get(), camera, formatIndex);
    ComPtr<IBaseFilter> renderer;
    if ((status = AddRendererForVideoPort(preview.graph.Get(), builder.Get(), camera, renderer)).Failed())
        return status;
    ComPtr<IBaseFilter> grabberFilter;
    preview.grabber.As(&grabberFilter);
    const HRESULT hr = RenderThroughGrabber(builder.Get(), camera, grabberFilter.Get(), renderer.Get());
    if (FAILED(hr))
        return StepFailed(ErrorText::kBuildGraph, hr);
    preview.frameInterval = CurrentFrameInterval(builder.Get(), camera);
    return {};
}

// The still writer and painter trust this size, so a type without a readable video
// header stops the build.
GraphBuildStatus ReadConnectedSize(PreviewGraph& preview)
{
    MediaTypeRecord connected;
    const HRESULT hr = preview.grabber->GetConnectedMediaType(&connected);
    if (FAILED(hr))
        return StepFailed(ErrorText::kReadConnectedType, hr);
    if (!ReadFrameSize(connected, &preview.frameWidth, &preview.frameHeight))
        return StepFailed(ErrorText::kReadConnectedType, VFW_E_INVALIDMEDIATYPE);
    return {};
}
}  // namespace

PreviewGraph AssemblePreviewGraph(HWND cameraLabel, int& formatIndex, ISampleGrabberCB* callback)
{
    PreviewGraph preview;
    ComPtr<IBaseFilter> camera;
    GraphBuildStatus& status = preview.status;
    if ((status = CreateGraphWithCamera(ErrorText::kPreviewSteps, cameraLabel, preview.graph, camera))
            .Failed() ||
        (status = AddGrabber(preview.graph.Get(), preview.grabber)).Failed() ||
        (status = RenderCamera(preview, camera.Get(), formatIndex)).Failed() ||
        (status = ReadConnectedSize(preview)).Failed())
        return preview;
    preview.grabber->SetBufferSamples(FALSE);
    preview.grabber->SetOneShot(FALSE);
    preview.grabber->SetCallback(callback, 1);
    return preview;
}
