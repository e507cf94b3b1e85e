// The head and tail that the preview and recording builders share: the graph with the
// camera in it, the capture graph builder on it, and at the end the video window
// placed, the graph's events watched and the graph run.
#include "capture/GraphAssembly.h"

#include "capture/ErrorTexts.h"
#include "comkit/InterfaceIds.h"
#include "ui/CaptureDlg.h"

using Microsoft::WRL::ComPtr;

HRESULT CCaptureDlg::ReportBuildFailure(const char* text, HRESULT hr)
{
    ReportError(text);
    return hr;
}

HRESULT CCaptureDlg::CreateGraphWithCamera(const GraphBuildTexts& texts, ComPtr<IBaseFilter>& camera)
{
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_PPV_ARGS(m_pGraph.ReleaseAndGetAddressOf()));
    if (!m_pGraph)
        return ReportBuildFailure(texts.createGraph, E_FAIL);
    FindCamera(camera.ReleaseAndGetAddressOf());
    if (!camera)
        return m_bCameraLost ? ReportCameraLost() : ReportBuildFailure(ErrorText::kNoCamera, E_FAIL);
    const HRESULT hr = m_pGraph->AddFilter(camera.Get(), L"Cap");
    if (FAILED(hr))
        return ReportBuildFailure(texts.addCamera, texts.addCameraFailsWithItsStatus ? hr : E_FAIL);
    return S_OK;
}

HRESULT CCaptureDlg::CreateCaptureBuilder(const GraphBuildTexts& texts, DWORD context,
                                          ComPtr<ICaptureGraphBuilder2>& builder)
{
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, context, IID_PPV_ARGS(&builder));
    if (!builder)
        return ReportBuildFailure(texts.createBuilder, FAILED(hr) ? hr : E_FAIL);
    if (FAILED(hr = builder->SetFiltergraph(m_pGraph.Get())))
        return ReportBuildFailure(texts.setGraph, hr);
    return S_OK;
}

HRESULT CCaptureDlg::ShowAndRunGraph(VideoWindowOrder order)
{
    ComPtr<IVideoWindow> videoWindow;
    if (FAILED(m_pGraph.As(&videoWindow)))
        return ReportBuildFailure(ErrorText::kGetVideoWindow, E_FAIL);
    PlaceVideoWindow(videoWindow.Get(), order);
    WatchGraphEvents();
    ComPtr<IMediaControl> control;
    const HRESULT hr = SUCCEEDED(m_pGraph.As(&control)) ? control->Run() : E_NOINTERFACE;
    if (FAILED(hr))
        return ReportBuildFailure(ErrorText::kRunGraph, hr);
    return S_OK;
}
