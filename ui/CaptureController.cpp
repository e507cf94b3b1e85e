#include "ui/CaptureDlg.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "capture/GraphEventText.h"
#include "capture/RecordingGraph.h"
#include "comkit/TaskMemory.h"
#include "snapshot/CaptureFileName.h"
#include "snapshot/CaptureNameCheck.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/NumberedFile.h"
#include "ui/OutputDirectory.h"

void CCaptureDlg::OnAction()
{
    char baseName[MAX_PATH] = {};
    GetDlgItemText(IDC_FILENAME, baseName, sizeof baseName);
    if (m_bSnapshotMode)
        RequestSnapshot(baseName);
    else if (m_bRecording)
        StopRecording();
    else
        StartRecording(baseName);
}

void CCaptureDlg::RequestSnapshot(const char* baseName)
{
    if (!IsSafeCaptureName(baseName))
    {
        ShowCaptureProblem(IDS_INVALID_NAME);
        return;
    }
    // The snapshot writer names the still; it must not meet a name that cannot fit.
    char fullPath[MAX_PATH];
    char shortName[MAX_PATH];
    if (!FormatCaptureNames(m_szDirectory, baseName, m_nFileCounter, "bmp", fullPath, shortName))
    {
        ShowCaptureProblem(IDS_NAME_TOO_LONG);
        return;
    }
    RequestGrab(m_szDirectory, baseName);
}

// Holds the clip's name before the graph opens it: while incrementing, a file that
// only this window created. False, with the reason on the capture line, when there
// is none.
bool CCaptureDlg::ReserveClip(const char* baseName, bool increment, NumberedFile& clip)
{
    if (!IsSafeCaptureName(baseName))
    {
        ShowCaptureProblem(IDS_INVALID_NAME);
        return false;
    }
    const ExistingFile existing = increment ? ExistingFile::Keep : ExistingFile::Replace;
    const auto create = [existing](const char* path) { return CreateEmptyFile(path, existing); };
    switch (CreateNumberedFile(m_szDirectory, baseName, "avi", m_nFileCounter, increment, create, clip))
    {
    case NumberedFileOutcome::Created:
        return true;
    case NumberedFileOutcome::NameTooLong:
        ShowCaptureProblem(IDS_NAME_TOO_LONG);
        return false;
    case NumberedFileOutcome::NoFreeNumber:
        ShowCaptureProblem(IDS_NO_FREE_NUMBER);
        return false;
    default:
        ShowCaptureProblem(RecordingNotStartedText(clip.failure, clip.shortName).c_str());
        return false;
    }
}

// A recording starts only when it can: with the camera lost, or a clip that cannot be
// named, created or opened, the state, the counter and the recording name stay as they
// are, the preview comes back and the action button stays usable. Only a genuine build
// failure ("Error!") leaves the recording state behind it.
void CCaptureDlg::StartRecording(const char* baseName)
{
    if (m_bCameraLost || m_bPreviewSilent)
        return;
    const bool increment = IsDlgButtonChecked(IDC_INCREMENT) != 0;
    NumberedFile clip;
    if (!ReserveClip(baseName, increment, clip))
        return;
    TearDownGraph();
    const HRESULT hr = BuildRecordingGraph(clip.fullPath);
    if (FAILED(hr) && (m_bCameraLost || IsFixableFileFailure(hr)))
    {
        ReturnToPreview(clip, hr);
        return;
    }
    if (increment)
        m_nFileCounter = static_cast<int>(NextCounter(clip.number));
    CopyWhole(m_szRecordingName, sizeof m_szRecordingName, clip.shortName);
    SetDlgItemText(IDC_ACTION, "&Stop Capture");
    m_bRecording = TRUE;
    m_bCaptureProblemShown = false;
    SetCaptureStatusText("");
}

// After a recording that could not start: its empty clip goes, the preview comes back
// and the capture line says why (a lost camera is said on the status line already).
void CCaptureDlg::ReturnToPreview(const NumberedFile& clip, HRESULT cause)
{
    TearDownGraph();
    DeleteEmptyFile(clip.fullPath);
    const bool cameraLost = m_bCameraLost;
    BuildPreviewGraph();
    if (!cameraLost)
        ShowCaptureProblem(RecordingNotStartedText(cause, clip.shortName).c_str());
}

// The name shown is the one the recording started with, whatever the counter and the
// base name have become since.
void CCaptureDlg::StopRecording()
{
    SetDlgItemText(IDC_LAST_FILE, m_szRecordingName);
    KillTimer(m_nTimer);
    TearDownGraph();
    BuildPreviewGraph();
    SetDlgItemText(IDC_ACTION, "&Start Capture");
    m_bRecording = FALSE;
}

void CCaptureDlg::OnTimer(UINT_PTR timerId)
{
    if (timerId == kPreviewWatchTimerId)
    {
        WatchPreview();
        return;
    }
    // A tick that was already queued when the recording ended must not start another.
    if (!m_bRecording)
        return;
    const DWORD now = timeGetTime();
    const DWORD elapsed = (now - m_dwRecordStart) / 1000;
    const Silence silence = m_recordingWatch.Look(now);
    if (silence == Silence::Stopped)
    {
        EndRecordingBecause(m_recordingWatch.SilenceCause(), m_recordingWatch.KeptMs(now));
        return;
    }
    // Silence shorter than the watch's allowance is only shown.
    const UINT formatId = silence == Silence::None           ? IDS_CAPTURED
                          : m_recordingWatch.CameraOverdue() ? IDS_AWAITING_FRAMES
                                                             : IDS_AWAITING_DISK;
    CString format;
    format.LoadString(formatId);
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(elapsed));
    SetCaptureStatusText(text);
    if (m_nDurationSec != 0 && elapsed >= static_cast<DWORD>(m_nDurationSec))
        OnAction();
}

void CCaptureDlg::OnModeSnapshot()
{
    if (m_bSnapshotMode)
        return;
    if (m_bRecording)
    {
        KillTimer(m_nTimer);
        m_bRecording = FALSE;
    }
    SetDlgItemText(IDC_ACTION, "&Take Snapshot");
    m_bSnapshotMode = true;
    TearDownGraph();
    BuildPreviewGraph();
    PaintLastSnapshot();
}

void CCaptureDlg::OnModeAvi()
{
    if (!m_bSnapshotMode)
        return;
    TearDownGraph();
    m_bSnapshotMode = false;
    m_bRecording = FALSE;
    SetDlgItemText(IDC_ACTION, "&Start Capture");
    BuildPreviewGraph();
}

void CCaptureDlg::OnFormat()
{
    TearDownGraph();
    ++m_nFormatIndex;
    BuildPreviewGraph();
}

void CCaptureDlg::OnResetCounter()
{
    m_nFileCounter = 0;
}

void CCaptureDlg::OnDirectory()
{
    BROWSEINFOA browse = {};
    browse.lpszTitle = "Pick a Directory";
    // The shell's allocator is the task allocator.
    const comkit::TaskMemory<ITEMIDLIST> chosen(SHBrowseForFolderA(&browse));
    if (!chosen)
        return;
    char folder[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.get(), folder))
        return;
    if (!SetOutputDirectory(m_szDirectory, sizeof m_szDirectory, folder))
        ShowCaptureProblem(IDS_DIRECTORY_TOO_LONG);
}

void CCaptureDlg::OnViewStill()
{
    ShellExecuteA(m_hWnd, "open", GrabBuffer.lastStillPath, nullptr, nullptr, SW_SHOWNORMAL);
}
