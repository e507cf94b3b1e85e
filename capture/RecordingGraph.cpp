#include "ui/CaptureDlg.h"  // first: afxwin.h must precede windowsx.h from dshow.h

#include <wrl/client.h>

#include "capture/ComQuery.h"

#include <vector>

#include "capture/FrameRate.h"
#include "capture/StatusText.h"
#include "capture/StreamFormat.h"
#include "snapshot/GrabBuffer.h"
#include "ui/ErrorTexts.h"

using Microsoft::WRL::ComPtr;

namespace
{
std::vector<wchar_t> WidePath(const char* path)
{
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), units);
    return wide;
}

constexpr UINT_PTR kRecordingTimerId = 1;
}  // namespace

// Builds and runs the recording graph: camera capture pin into the AVI mux and file
// writer for `fullPath`, camera preview into the default renderer in IDC_PREVIEW. On
// success starts the recording clock and the one-second timer.
HRESULT CCaptureDlg::BuildRecordingGraph(const char* fullPath)
{
    auto fail = [this](const char* text, HRESULT hr) {
        ReportError(text);
        return hr;
    };

    const UINT rate = ClampFrameRate(GetDlgItemInt(IDC_FRAME_RATE, nullptr, TRUE));

    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder,
                     reinterpret_cast<void**>(m_pGraph.ReleaseAndGetAddressOf()));
    if (!m_pGraph)
        return fail(ErrorText::kCreateFilterGraph, E_FAIL);

    ComPtr<IBaseFilter> camera;
    FindCamera(camera.GetAddressOf());
    if (!camera)
        return fail(ErrorText::kNoCamera, E_FAIL);
    HRESULT hr = m_pGraph->AddFilter(camera.Get(), L"Cap");
    if (FAILED(hr))
        return fail(ErrorText::kPutCaptureDevice, hr);

    ComPtr<ICaptureGraphBuilder2> builder;
    hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_ICaptureGraphBuilder2,
                          reinterpret_cast<void**>(builder.GetAddressOf()));
    if (!builder)
        return fail(ErrorText::kCreateCaptureBuilder, FAILED(hr) ? hr : E_FAIL);
    if (FAILED(hr = builder->SetFiltergraph(m_pGraph.Get())))
        return fail(ErrorText::kSetRecordingGraph, hr);

    ApplyCaptureFormat(builder.Get(), camera.Get(), m_nFormatIndex);
    // The rate goes on before the streams connect too: a driver that must reconnect to
    // change a connected pin's rate can leave the multiplexer without frames, and the
    // multiplexer writes the rate it connected with into the file's header.
    ApplyFrameRate(builder.Get(), camera.Get(), rate);

    const std::vector<wchar_t> widePath = WidePath(fullPath ? fullPath : "");
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    if (FAILED(hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, widePath.data(), mux.GetAddressOf(),
                                               sink.GetAddressOf())))
        return fail(ErrorText::kMuxAndWriter, hr);
    if (FAILED(hr = builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(),
                                          nullptr, mux.Get())))
        return fail(ErrorText::kConnectCapturePin, hr);
    if (FAILED(hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera.Get(),
                                          nullptr, nullptr)))
        return fail(ErrorText::kRenderCapturePin, hr);

    // And once both streams are connected, when the format is final.
    ApplyFrameRate(builder.Get(), camera.Get(), rate);

    ComPtr<IVideoWindow> videoWindow;
    QueryInto(m_pGraph.Get(), IID_IVideoWindow, videoWindow);
    if (!videoWindow)
        return fail(ErrorText::kGetVideoWindow, E_FAIL);
    PlaceVideoWindow(videoWindow.Get(), VideoWindowOrder::VisibleFirst);

    ComPtr<IMediaControl> control;
    QueryInto(m_pGraph.Get(), IID_IMediaControl, control);
    hr = control ? control->Run() : E_NOINTERFACE;
    if (FAILED(hr))
        return fail(ErrorText::kRunGraph, hr);

    m_dwRecordStart = timeGetTime();
    m_nTimer = static_cast<UINT>(SetTimer(kRecordingTimerId, 1000, nullptr));
    m_nDurationSec = static_cast<int>(GetDlgItemInt(IDC_DURATION, nullptr, TRUE));
    SetStatusText(CaptureStatusText(fullPath, GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}
