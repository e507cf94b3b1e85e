#include "ui/CaptureDlg.h"

#include <wrl/client.h>

#include "capture/ErrorTexts.h"
#include "capture/FrameSize.h"
#include "capture/MediaTypeRecord.h"
#include "capture/QeditClsids.h"
#include "capture/StatusText.h"
#include "capture/StreamFormat.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"

using Microsoft::WRL::ComPtr;

namespace
{
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
}  // namespace

// Builds, configures and runs the preview graph: camera, sample grabber (RGB24 only,
// frames to FrameGrabCallback) and a renderer whose window fills IDC_PREVIEW. A
// failed step is reported and the partial graph is left for the next teardown.
HRESULT CCaptureDlg::BuildPreviewGraph()
{
    auto fail = [this](const char* text, HRESULT hr) { return ReportBuildFailure(text, hr); };

    ComPtr<IBaseFilter> camera;
    HRESULT hr = CreateGraphWithCamera(ErrorText::kPreviewSteps, camera);
    if (FAILED(hr))
        return hr;

    hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_ALL,
                          IID_PPV_ARGS(m_pGrabber.ReleaseAndGetAddressOf()));
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
    if (FAILED(hr = CreateCaptureBuilder(ErrorText::kPreviewSteps, CLSCTX_INPROC, builder)))
        return hr;

    ApplyCaptureFormat(builder.Get(), camera.Get(), m_nFormatIndex);

    // A video-port pin cannot feed the default renderer: such a camera gets a null one.
    ComPtr<IPin> videoPortPin;
    ComPtr<IBaseFilter> renderer;
    if (builder->FindPin(camera.Get(), PINDIR_OUTPUT, &PIN_CATEGORY_VIDEOPORT, nullptr, FALSE, 0,
                         videoPortPin.GetAddressOf()) == S_OK)
    {
        if (FAILED(hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&renderer))))
            return fail(ErrorText::kMakeNullRenderer, hr);
        if (FAILED(hr = m_pGraph->AddFilter(renderer.Get(), L"NULL renderer")))
            return fail(ErrorText::kAddNullRenderer, hr);
    }
    if (FAILED(hr = RenderThroughGrabber(builder.Get(), camera.Get(), grabberFilter.Get(), renderer.Get())))
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

    if (FAILED(hr = ShowAndRunGraph(VideoWindowOrder::StyleFirst)))
        return hr;

    m_bCameraLost = false;
    m_previewFramesSeen = GrabBuffer.framesSeen.load();
    m_previewIdleTicks = 0;
    m_bPreviewSilent = false;
    SetTimer(kPreviewWatchTimerId, 1000, nullptr);
    SetStatusText(PreviewStatusText(GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}
