#include "capture/RecordingGraph.h"

#include <vector>

#include "capture/ErrorTexts.h"
#include "capture/StreamFormat.h"

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

GraphBuildStatus RenderIntoFile(ICaptureGraphBuilder2* builder, IBaseFilter* camera, const char* path)
{
    const std::vector<wchar_t> widePath = WidePath(path ? path : "");
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    HRESULT hr;
    if (FAILED(hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, widePath.data(), mux.GetAddressOf(),
                                               sink.GetAddressOf())))
        return StepFailed(ErrorText::kMuxAndWriter, hr);
    if (FAILED(
            hr = builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, mux.Get())))
        return StepFailed(ErrorText::kConnectCapturePin, hr);
    if (FAILED(hr = builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, nullptr, nullptr)))
        return StepFailed(ErrorText::kRenderCapturePin, hr);
    return {};
}
}  // namespace

bool IsFixableFileFailure(HRESULT hr)
{
    for (DWORD error :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION,
          ERROR_WRITE_PROTECT, ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS, ERROR_DISK_FULL})
        if (hr == HRESULT_FROM_WIN32(error))
            return true;
    return hr == STG_E_MEDIUMFULL;
}

RecordingGraph AssembleRecordingGraph(HWND cameraLabel, int& formatIndex, UINT rate, const char* path)
{
    RecordingGraph recording;
    ComPtr<IBaseFilter> camera;
    ComPtr<ICaptureGraphBuilder2> builder;
    GraphBuildStatus& status = recording.status;
    if ((status = CreateGraphWithCamera(ErrorText::kRecordingSteps, cameraLabel, recording.graph, camera))
            .Failed() ||
        (status =
             CreateCaptureBuilder(ErrorText::kRecordingSteps, CLSCTX_ALL, recording.graph.Get(), builder))
            .Failed())
        return recording;

    ApplyCaptureFormat(builder.Get(), camera.Get(), formatIndex);
    // The rate goes on before the streams connect too: a driver that must reconnect to
    // change a connected pin's rate can leave the multiplexer without frames, and the
    // multiplexer writes the rate it connected with into the file's header.
    ApplyFrameRate(builder.Get(), camera.Get(), rate);
    if ((status = RenderIntoFile(builder.Get(), camera.Get(), path)).Failed())
        return recording;
    // And once both streams are connected, when the format is final.
    ApplyFrameRate(builder.Get(), camera.Get(), rate);

    builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(),
                           IID_PPV_ARGS(&recording.frameCounter));
    recording.frameInterval = CurrentFrameInterval(builder.Get(), camera.Get());
    return recording;
}
