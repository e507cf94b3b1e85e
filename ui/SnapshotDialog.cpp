#include "ui/CaptureDlg.h"

#include "capture/GraphEventText.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/SnapshotWriter.h"
#include "snapshot/StillPainter.h"

// Handles WM_FRAME_GRABBED. Only a still that was written whole counts: otherwise the
// shown file name, the picture and "View Still" stay as they were, and the capture
// line says which file was not written and why.
void CCaptureDlg::WriteSnapshot()
{
    HWND frame = nullptr;
    GetDlgItem(IDC_LAST_SNAPSHOT, &frame);
    const bool increment = IsDlgButtonChecked(IDC_INCREMENT) != 0;
    char displayName[MAX_PATH];
    LONG counter = m_nFileCounter;
    HRESULT failure = S_OK;
    const StillOutcome outcome = WritePendingStill(counter, increment, frame, displayName, &failure);
    m_nFileCounter = counter;
    if (outcome == StillOutcome::NameTooLong)
        ShowCaptureProblem(IDS_NAME_TOO_LONG);
    if (outcome == StillOutcome::NoFreeNumber)
        ShowCaptureProblem(IDS_NO_FREE_NUMBER);
    if (outcome == StillOutcome::NotWritten && FAILED(failure))
        ShowCaptureProblem(SnapshotNotWrittenText(failure, displayName).c_str());
    if (outcome != StillOutcome::Written)
        return;
    ClearCaptureProblem();
    SetDlgItemText(IDC_LAST_FILE, displayName);
    HWND viewStill = nullptr;
    GetDlgItem(IDC_VIEW_STILL, &viewStill);
    ::EnableWindow(viewStill, TRUE);
}

void CCaptureDlg::PaintLastSnapshot()
{
    if (!GrabBuffer.ownerDialog)
        return;
    HWND frame = nullptr;
    GetDlgItem(IDC_LAST_SNAPSHOT, &frame);
    GrabBlockLock lock;
    PaintStillLocked(frame);
}
