#include "ui/CaptureDlg.h"

#include <wrl/client.h>

#include <vector>

#include "capture/ErrorTexts.h"
#include "capture/FrameRate.h"
#include "capture/StatusText.h"
#include "capture/StreamFormat.h"
#include "snapshot/GrabBuffer.h"

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
}  // namespace

// Builds and runs the recording graph: camera capture pin into the AVI mux and file
// writer for `fullPath`, camera preview into the default renderer in IDC_PREVIEW. On
// success starts the recording clock and the one-second timer.
HRESULT CCaptureDlg::BuildRecordingGraph(const char* fullPath)
{
    auto fail = [this](const char* text, HRESULT hr) { return ReportBuildFailure(text, hr); };

    const UINT rate = ClampFrameRate(GetDlgItemInt(IDC_FRAME_RATE, nullptr, TRUE));

    ComPtr<IBaseFilter> camera;
    HRESULT hr = CreateGraphWithCamera(ErrorText::kRecordingSteps, camera);
    if (FAILED(hr))
        return hr;
    ComPtr<ICaptureGraphBuilder2> builder;
    if (FAILED(hr = CreateCaptureBuilder(ErrorText::kRecordingSteps, CLSCTX_ALL, builder)))
        return hr;

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
    if (FAILED(hr = builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(), nullptr,
                                          mux.Get())))
        return fail(ErrorText::kConnectCapturePin, hr);
    if (FAILED(hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera.Get(), nullptr,
                                          nullptr)))
        return fail(ErrorText::kRenderCapturePin, hr);

    // And once both streams are connected, when the format is final.
    ApplyFrameRate(builder.Get(), camera.Get(), rate);

    if (FAILED(hr = ShowAndRunGraph(VideoWindowOrder::VisibleFirst)))
        return hr;

    m_dwRecordStart = timeGetTime();
    ComPtr<IAMDroppedFrames> frameCounter;
    builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(),
                           IID_PPV_ARGS(&frameCounter));
    m_recordingWatch.Start(frameCounter, CurrentFrameInterval(builder.Get(), camera.Get()), fullPath,
                           m_dwRecordStart);
    m_nTimer = static_cast<UINT>(SetTimer(kRecordingTimerId, 1000, nullptr));
    m_nDurationSec = static_cast<int>(GetDlgItemInt(IDC_DURATION, nullptr, TRUE));
    SetStatusText(CaptureStatusText(fullPath, GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}
