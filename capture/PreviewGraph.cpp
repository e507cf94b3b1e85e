#include "ui/CaptureDlg.h"  // first: afxwin.h must precede windowsx.h from dshow.h

#include <wrl/client.h>

#include "capture/ComQuery.h"

#include "capture/FrameSize.h"
#include "capture/MediaTypeRecord.h"
#include "capture/QeditClsids.h"
#include "capture/StatusText.h"
#include "capture/StreamFormat.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "ui/ErrorTexts.h"

using Microsoft::WRL::ComPtr;

namespace
{
// The camera's stream through the grabber: interleaved preview, then video preview,
// then the capture pin. The first that connects wins.
HRESULT RenderThroughGrabber(ICaptureGraphBuilder2* builder, IBaseFilter* camera,
                             IBaseFilter* grabber, IBaseFilter* renderer)
{
    HRESULT hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, camera,
                                       grabber, renderer);
    if (SUCCEEDED(hr))
        return hr;
    hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, grabber, renderer);
    if (SUCCEEDED(hr))
        return hr;
    return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, grabber, renderer);
}

HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID iid, void** object)
{
    return CoCreateInstance(clsid, nullptr, context, iid, object);
}
}  // namespace

// Builds, configures and runs the preview graph: camera, sample grabber (RGB24 only,
// frames to FrameGrabCallback) and a renderer whose window fills IDC_PREVIEW. A
// failed step is reported and the partial graph is left for the next teardown.
HRESULT CCaptureDlg::BuildPreviewGraph()
{
    auto fail = [this](const char* text, HRESULT hr) {
        ReportError(text);
        return hr;
    };

    CreateInstance(CLSID_FilterGraph, CLSCTX_ALL, IID_IGraphBuilder,
                   reinterpret_cast<void**>(m_pGraph.ReleaseAndGetAddressOf()));
    if (!m_pGraph)
        return fail(ErrorText::kCreateVideoFilter, E_FAIL);

    ComPtr<IBaseFilter> camera;
    FindCamera(camera.GetAddressOf());
    if (!camera)
        return fail(ErrorText::kNoCamera, E_FAIL);
    if (FAILED(m_pGraph->AddFilter(camera.Get(), L"Cap")))
        return fail(ErrorText::kAddCaptureFilter, E_FAIL);

    HRESULT hr = CreateInstance(CLSID_SampleGrabber, CLSCTX_ALL, IID_ISampleGrabber,
                                reinterpret_cast<void**>(m_pGrabber.ReleaseAndGetAddressOf()));
    if (!m_pGrabber)
        return fail(ErrorText::kCreateSampleGrabber, FAILED(hr) ? hr : E_FAIL);
    ComPtr<IBaseFilter> grabberFilter;
    m_pGrabber.As(&grabberFilter);

    MediaTypeRecord grabType;
    grabType.SetMajorType(MEDIATYPE_Video);
    grabType.SetSubtype(MEDIASUBTYPE_RGB24);
    if (FAILED(hr = m_pGrabber->SetMediaType(&grabType)))
        return fail(ErrorText::kSetMediaType, hr);
    if (FAILED(hr = m_pGraph->AddFilter(grabberFilter.Get(), L"Grabber")))
        return fail(ErrorText::kAddGrabber, hr);

    ComPtr<ICaptureGraphBuilder2> builder;
    if (FAILED(hr = CreateInstance(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC, IID_ICaptureGraphBuilder2,
                                   reinterpret_cast<void**>(builder.GetAddressOf()))))
        return fail(ErrorText::kGetCaptureBuilder, hr);
    if (FAILED(hr = builder->SetFiltergraph(m_pGraph.Get())))
        return fail(ErrorText::kSetGraph, hr);

    ApplyCaptureFormat(builder.Get(), camera.Get(), m_nFormatIndex);

    // A video-port pin cannot feed the default renderer: such a camera gets a null one.
    ComPtr<IPin> videoPortPin;
    ComPtr<IBaseFilter> renderer;
    if (builder->FindPin(camera.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_VIDEOPORT, nullptr, FALSE, 0,
                         videoPortPin.GetAddressOf()) == S_OK)
    {
        if (FAILED(hr = CreateInstance(CLSID_NullRenderer, CLSCTX_ALL, IID_IBaseFilter,
                                       reinterpret_cast<void**>(renderer.GetAddressOf()))))
            return fail(ErrorText::kMakeNullRenderer, hr);
        if (FAILED(hr = m_pGraph->AddFilter(renderer.Get(), L"NULL renderer")))
            return fail(ErrorText::kAddNullRenderer, hr);
    }
    if (FAILED(hr = RenderThroughGrabber(builder.Get(), camera.Get(), grabberFilter.Get(),
                                         renderer.Get())))
        return fail(ErrorText::kBuildGraph, hr);

    // The still writer and painter trust this size, so a type without a readable
    // video header stops the build.
    MediaTypeRecord connected;
    if (FAILED(hr = m_pGrabber->GetConnectedMediaType(&connected)))
        return fail(ErrorText::kReadConnectedType, hr);
    LONG width = 0;
    LONG height = 0;
    if (!ReadFrameSize(connected, &width, &height))
        return fail(ErrorText::kReadConnectedType, VFW_E_INVALIDMEDIATYPE);
    GrabBuffer.ownerDialog = this;
    GrabBuffer.frameWidth = width;
    GrabBuffer.frameHeight = height;
    // A frame still waiting from the previous graph would be written under this size.
    DiscardGrabbedFrame();

    m_pGrabber->SetBufferSamples(FALSE);
    m_pGrabber->SetOneShot(FALSE);
    m_pGrabber->SetCallback(&FrameGrabCallback, 1);

    ComPtr<IVideoWindow> videoWindow;
    QueryInto(m_pGraph.Get(), IID_IVideoWindow, videoWindow);
    if (!videoWindow)
        return fail(ErrorText::kGetVideoWindow, E_FAIL);
    PlaceVideoWindow(videoWindow.Get(), VideoWindowOrder::StyleFirst);

    ComPtr<IMediaControl> control;
    QueryInto(m_pGraph.Get(), IID_IMediaControl, control);
    hr = control ? control->Run() : E_NOINTERFACE;
    if (FAILED(hr))
        return fail(ErrorText::kRunGraph, hr);

    SetStatusText(PreviewStatusText(GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}
