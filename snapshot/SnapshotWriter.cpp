#include "ui/CaptureDlg.h"  // first: afxwin.h must precede windowsx.h from dshow.h

#include "snapshot/BmpLayout.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/StillFile.h"
#include "snapshot/StillPainter.h"
#include "ui/CaptureFileName.h"

#include <cstring>

namespace
{
// Takes the pending request if there is one and a frame to serve it. Called inside the
// exclusion, so the callback cannot copy another frame once the flag is down.
bool TakePendingGrab()
{
    if (!GrabBuffer.grabPending.load() || !GrabBuffer.frameBytes)
        return false;
    GrabBuffer.grabPending.store(0);
    return true;
}

void RecordWrittenStill(const char (&path)[MAX_PATH], const BITMAPINFOHEADER& info)
{
    std::memcpy(GrabBuffer.lastStillPath, path, sizeof GrabBuffer.lastStillPath);
    GrabBuffer.lastStillHeader = info;
    GrabBuffer.haveStill = 1;
}
}  // namespace

// Handles WM_FRAME_GRABBED. Only a still that was written whole counts: a failed open
// or a short write leaves the shown file, the picture and "View Still" as they were.
void CCaptureDlg::WriteSnapshot()
{
    char path[MAX_PATH] = {};
    char displayName[MAX_PATH] = {};
    {
        GrabBlockLock lock;
        if (!TakePendingGrab())
            return;
        const LONG counter = m_nFileCounter;
        // A name too long for a path is not written; the request is spent and the
        // counter stays, since no file was attempted under that number.
        if (!FormatCaptureNames(GrabBuffer.snapDirectory, GrabBuffer.snapBaseName, counter, "bmp",
                                path, displayName))
            return;
        if (IsDlgButtonChecked(IDC_INCREMENT))
            m_nFileCounter = counter + 1;
        const BITMAPINFOHEADER info = MakeStillInfoHeader(GrabBuffer.frameWidth, GrabBuffer.frameHeight);
        if (!WriteStillFile(path, info, GrabBuffer.frameBytes, GrabBuffer.frameLength))
            return;
        RecordWrittenStill(path, info);
        HWND frame = nullptr;
        GetDlgItem(IDC_LAST_SNAPSHOT, &frame);
        PaintStillLocked(frame);
    }
    SetDlgItemText(IDC_LAST_FILE, displayName);
    HWND viewStill = nullptr;
    GetDlgItem(IDC_VIEW_STILL, &viewStill);
    ::EnableWindow(viewStill, TRUE);
}
