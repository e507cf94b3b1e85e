// The dialog's graph members: each hands the graph work to capture/ and keeps what
// the dialog owns (the graph, the grabber, the status line, the timers, the watches).
#include "ui/CaptureDlg.h"

#include <mmsystem.h>

#include "capture/CameraDiscovery.h"
#include "capture/CameraSetup.h"
#include "capture/FrameRate.h"
#include "capture/GraphEventQueue.h"
#include "capture/GraphTeardown.h"
#include "capture/PreviewGraph.h"
#include "capture/RecordingGraph.h"
#include "capture/StatusText.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"

void CCaptureDlg::FindCamera(IBaseFilter** camera)
{
    if (!camera)
        return;
    *camera = FindCameraFilter(CameraLabel()).Detach();
}

// Opens the camera driver's own pages, modally, on a filter of its own: the running
// graph is left alone.
void CCaptureDlg::OnSetupCamera()
{
    Microsoft::WRL::ComPtr<IBaseFilter> camera;
    FindCamera(camera.GetAddressOf());
    ShowCameraPages(camera.Get(), GrabBuffer.ownerWindow);
}

// Builds, configures and runs the preview graph: camera, sample grabber (frames to
// FrameGrabCallback) and a renderer whose window fills IDC_PREVIEW. A failed step is
// reported and the partial graph is left for the next teardown.
HRESULT CCaptureDlg::BuildPreviewGraph()
{
    PreviewGraph preview = AssemblePreviewGraph(CameraLabel(), m_nFormatIndex, &FrameGrabCallback);
    m_pGraph = preview.graph;
    m_pGrabber = preview.grabber;
    if (preview.status.Failed())
        return ReportBuildFailure(preview.status);
    GrabBuffer.ownerDialog = this;
    GrabBuffer.frameWidth = preview.frameWidth;
    GrabBuffer.frameHeight = preview.frameHeight;
    // A frame still waiting from the previous graph would be written under this size.
    DiscardGrabbedFrame();

    const HRESULT hr = ShowAndRunGraph(VideoWindowOrder::StyleFirst);
    if (FAILED(hr))
        return hr;
    StartPreviewWatch(preview.frameInterval);
    SetStatusText(PreviewStatusText(GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}

// Builds and runs the recording graph for `fullPath`, its preview in IDC_PREVIEW. On
// success starts the recording clock and the one-second timer. A failure of the clip's
// file the user can mend is returned without the "Error!" box, for the caller to tell.
HRESULT CCaptureDlg::BuildRecordingGraph(const char* fullPath)
{
    const UINT rate = ClampFrameRate(GetDlgItemInt(IDC_FRAME_RATE, nullptr, TRUE));
    RecordingGraph recording = AssembleRecordingGraph(CameraLabel(), m_nFormatIndex, rate, fullPath);
    m_pGraph = recording.graph;
    if (recording.status.Failed())
        return ReportBuildFailure(recording.status, true);
    const HRESULT hr = ShowAndRunGraph(VideoWindowOrder::VisibleFirst, true);
    if (FAILED(hr))
        return hr;

    m_dwRecordStart = timeGetTime();
    m_recordingWatch.Start(recording.frameCounter, recording.frameInterval, fullPath, m_dwRecordStart);
    m_nTimer = static_cast<UINT>(SetTimer(kRecordingTimerId, 1000, nullptr));
    m_nDurationSec = static_cast<int>(GetDlgItemInt(IDC_DURATION, nullptr, TRUE));
    SetStatusText(CaptureStatusText(fullPath, GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
    return S_OK;
}

void CCaptureDlg::TearDownGraph()
{
    if (!m_pGraph)
        return;
    m_recordingWatch.Stop();
    KillTimer(kPreviewWatchTimerId);
    ReleaseGraph(m_pGraph);
    m_pGrabber.Reset();
}

HRESULT CCaptureDlg::ReportBuildFailure(const GraphBuildStatus& status, bool clipFailuresTold)
{
    if (status.noCamera && m_bCameraLost)
        return ReportCameraLost();
    if (clipFailuresTold && IsFixableFileFailure(status.hr))
        return status.hr;
    ReportError(status.failedStep);
    return status.hr;
}

HWND CCaptureDlg::CameraLabel() const
{
    return ::GetDlgItem(m_hWnd, IDC_CAMERA_NAME);
}

HRESULT CCaptureDlg::ShowAndRunGraph(VideoWindowOrder order, bool clipFailuresTold)
{
    const GraphBuildStatus status =
        StartGraph(m_pGraph.Get(), {::GetDlgItem(m_hWnd, IDC_PREVIEW), m_hWnd}, order);
    if (!status.Failed())
        return S_OK;
    // A graph that never ran has nothing to tell: what its Run left queued is dropped.
    NotifyGraphEvents(m_pGraph.Get(), nullptr);
    GraphEventMeaning dropped{};
    while (NextGraphEvent(m_pGraph.Get(), &dropped))
    {
    }
    return ReportBuildFailure(status, clipFailuresTold);
}

// The preview's pulse, looked at once a second (WatchPreview).
void CCaptureDlg::StartPreviewWatch(REFERENCE_TIME frameInterval)
{
    m_bCameraLost = false;
    m_previewSilence.Start(frameInterval, GrabBuffer.framesSeen.load(), timeGetTime());
    m_bPreviewSilent = false;
    SetTimer(kPreviewWatchTimerId, 1000, nullptr);
}
