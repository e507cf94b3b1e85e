#include "ui/CaptureDlg.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <climits>
#include <cstdio>

#include "comkit/TaskMemory.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/CaptureFileName.h"
#include "ui/ControllerTexts.h"
#include "ui/OutputDirectory.h"

namespace
{
// The counter only grows; at the top of its range it stays, rather than overflowing
// into negative numbers.
int NextCounter(int counter)
{
    return counter < INT_MAX ? counter + 1 : counter;
}
}  // namespace

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
    // The snapshot writer names the still; it must not meet a name that cannot fit.
    char fullPath[MAX_PATH];
    char shortName[MAX_PATH];
    if (!FormatCaptureNames(m_szDirectory, baseName, m_nFileCounter, "bmp", fullPath, shortName))
    {
        ShowCaptureProblem(ControllerText::kNameTooLong);
        return;
    }
    RequestGrab(m_szDirectory, baseName);
}

// A recording under a name that does not fit is not started: the state, the counter
// and the preview stay as they are, and the action button stays usable. An
// incrementing counter skips the numbers whose files exist, so no clip is replaced.
void CCaptureDlg::StartRecording(const char* baseName)
{
    char fullPath[MAX_PATH];
    char shortName[MAX_PATH];
    const bool increment = IsDlgButtonChecked(IDC_INCREMENT) != 0;
    const long number =
        increment ? FirstFreeCounter(m_szDirectory, baseName, m_nFileCounter, "avi") : m_nFileCounter;
    if (!FormatCaptureNames(m_szDirectory, baseName, number, "avi", fullPath, shortName))
    {
        ShowCaptureProblem(ControllerText::kNameTooLong);
        return;
    }
    m_nFileCounter = static_cast<int>(number);
    CopyWhole(m_szRecordingName, sizeof m_szRecordingName, shortName);
    if (increment)
        m_nFileCounter = NextCounter(m_nFileCounter);
    TearDownGraph();
    BuildRecordingGraph(fullPath);
    SetDlgItemText(IDC_ACTION, "&Stop Capture");
    m_bRecording = TRUE;
    m_bCaptureProblemShown = false;
    SetCaptureStatusText("");
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
    char text[64];
    std::snprintf(text, sizeof text, ControllerText::kCapturedFormat, static_cast<unsigned>(elapsed));
    SetCaptureStatusText(text);
    if (m_recordingWatch.Silent(now))
    {
        EndRecordingBecause(m_recordingWatch.SilenceCause(), m_recordingWatch.KeptMs(now));
        return;
    }
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
        SetCaptureStatusText(ControllerText::kDirectoryTooLong);
}

void CCaptureDlg::OnViewStill()
{
    ShellExecuteA(m_hWnd, "open", GrabBuffer.lastStillPath, nullptr, nullptr, SW_SHOWNORMAL);
}
