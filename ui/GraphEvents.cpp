// What the running graph tells the dialog: a recording that fails or loses its camera
// ends as "&Stop Capture" ends it, and says why; a preview that loses its camera says
// so and comes back when the camera does.
#include "ui/CaptureDlg.h"

#include <dbt.h>
#include <mmsystem.h>

#include "capture/GraphEventQueue.h"
#include "capture/StatusText.h"
#include "snapshot/GrabBuffer.h"

// Drains every queued event. Handling one may replace the graph; the loop then goes on
// with the new graph's queue.
LRESULT CCaptureDlg::OnGraphEvent(WPARAM, LPARAM)
{
    GraphEventMeaning meaning{};
    while (NextGraphEvent(m_pGraph.Get(), &meaning))
        HandleGraphEvent(meaning);
    return 0;
}

void CCaptureDlg::HandleGraphEvent(const GraphEventMeaning& meaning)
{
    if (meaning.kind == GraphEventKind::Other)
        return;
    if (m_recordingWatch.Active())
    {
        if (meaning.kind == GraphEventKind::DeviceLost)
            m_bCameraLost = true;
        if (meaning.kind != GraphEventKind::DeviceBack)
            EndRecordingBecause(StopCauseText(meaning), m_recordingWatch.KeptMs(timeGetTime()));
        return;
    }
    switch (meaning.kind)
    {
    case GraphEventKind::DeviceLost:
        m_bCameraLost = true;
        ReportCameraLost();
        break;
    case GraphEventKind::DeviceBack:
        if (m_bCameraLost)
            RebuildPreview();
        break;
    case GraphEventKind::Failed:
        SetStatusText(("Preview stopped: " + FailureCauseText(meaning.cause)).c_str());
        break;
    default:
        break;
    }
}

// The way "&Stop Capture" ends a recording, then the reason on the capture line.
void CCaptureDlg::EndRecordingBecause(const std::string& cause, DWORD keptMs)
{
    StopRecording();
    m_bCaptureProblemShown = false;
    SetCaptureStatusText(RecordingStoppedText(keptMs / 1000, cause).c_str());
}

void CCaptureDlg::RebuildPreview()
{
    TearDownGraph();
    BuildPreviewGraph();
}

HRESULT CCaptureDlg::ReportCameraLost()
{
    char name[MAX_PATH] = {};
    GetDlgItemText(IDC_CAMERA_NAME, name, sizeof name);
    SetStatusText(CameraLostText(name).c_str());
    return E_FAIL;
}

// A preview camera that stops sending without a word (a hung driver) is told as lost
// by the recording's rule (long exposures are not silence), and the line comes back
// when its frames do.
void CCaptureDlg::WatchPreview()
{
    const Silence silence = m_previewSilence.Look(GrabBuffer.framesSeen.load(), timeGetTime());
    if (m_previewSilence.MovedAtLastLook())
    {
        if (m_bPreviewSilent)
            SetStatusText(PreviewStatusText(GrabBuffer.frameWidth, GrabBuffer.frameHeight).c_str());
        m_bPreviewSilent = false;
        return;
    }
    if (silence == Silence::Stopped && !m_bPreviewSilent)
    {
        m_bPreviewSilent = true;
        ReportCameraLost();
    }
}

// A device that arrives may be the lost camera coming back.
LRESULT CCaptureDlg::OnDeviceChange(WPARAM event, LPARAM)
{
    const bool arrival = event == DBT_DEVICEARRIVAL || event == DBT_DEVNODES_CHANGED;
    if (arrival && m_bCameraLost && !m_recordingWatch.Active())
        RebuildPreview();
    return TRUE;
}
