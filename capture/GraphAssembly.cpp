#include "capture/GraphAssembly.h"

#include "capture/CameraDiscovery.h"
#include "capture/ErrorTexts.h"
#include "capture/GraphEventQueue.h"
#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

GraphBuildStatus StepFailed(const char* text, HRESULT hr)
{
    GraphBuildStatus status;
    status.hr = hr;
    status.failedStep = text;
    return status;
}

GraphBuildStatus CreateGraphWithCamera(const GraphBuildTexts& texts, HWND cameraLabel,
                                       ComPtr<IGraphBuilder>& graph, ComPtr<IBaseFilter>& camera)
{
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_PPV_ARGS(graph.ReleaseAndGetAddressOf()));
    if (!graph)
        return StepFailed(texts.createGraph, E_FAIL);
    camera = FindCameraFilter(cameraLabel);
    if (!camera)
    {
        GraphBuildStatus status = StepFailed(ErrorText::kNoCamera, E_FAIL);
        status.noCamera = true;
        return status;
    }
    const HRESULT hr = graph->AddFilter(camera.Get(), L"Cap");
    if (FAILED(hr))
        return StepFailed(texts.addCamera, texts.addCameraFailsWithItsStatus ? hr : E_FAIL);
    return {};
}

GraphBuildStatus CreateCaptureBuilder(const GraphBuildTexts& texts, DWORD context, IGraphBuilder* graph,
                                      ComPtr<ICaptureGraphBuilder2>& builder)
{
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, context, IID_PPV_ARGS(&builder));
    if (!builder)
        return StepFailed(texts.createBuilder, FAILED(hr) ? hr : E_FAIL);
    if (FAILED(hr = builder->SetFiltergraph(graph)))
        return StepFailed(texts.setGraph, hr);
    return {};
}

GraphBuildStatus StartGraph(IGraphBuilder* graph, const GraphWindows& windows, VideoWindowOrder order)
{
    ComPtr<IVideoWindow> videoWindow;
    if (FAILED(graph->QueryInterface(IID_PPV_ARGS(&videoWindow))))
        return StepFailed(ErrorText::kGetVideoWindow, E_FAIL);
    PlaceVideoWindow(videoWindow.Get(), windows.previewFrame, order);
    NotifyGraphEvents(graph, windows.notifyWindow);
    ComPtr<IMediaControl> control;
    const HRESULT hr =
        SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&control))) ? control->Run() : E_NOINTERFACE;
    if (FAILED(hr))
        return StepFailed(ErrorText::kRunGraph, hr);
    return {};
}
