#include "ui/CaptureDlg.h"

// After a failed graph build the action button stays disabled for the rest of the
// run; the box is task-modal and has no owner, so it cannot hide behind the dialog.
void CCaptureDlg::ReportError(const char* text)
{
    HWND actionButton = nullptr;
    GetDlgItem(IDC_ACTION, &actionButton);
    if (actionButton != nullptr)
        ::EnableWindow(actionButton, FALSE);
    ::MessageBoxA(nullptr, text, "Error!", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

void CCaptureDlg::SetStatusText(const char* text)
{
    m_statusText.SetWindowText(text);
}

void CCaptureDlg::SetCaptureStatusText(const char* text)
{
    m_captureStatusText.SetWindowText(text);
}

void CCaptureDlg::ShowCaptureProblem(const char* text)
{
    if (!m_bCaptureProblemShown)
    {
        char shown[MAX_PATH] = {};
        m_captureStatusText.GetWindowText(shown, sizeof shown);
        m_captureStatusBeforeProblem = shown;
        m_bCaptureProblemShown = true;
    }
    SetCaptureStatusText(text);
}

void CCaptureDlg::ShowCaptureProblem(UINT nIDText)
{
    CString text;
    text.LoadString(nIDText);
    ShowCaptureProblem(text);
}

void CCaptureDlg::ClearCaptureProblem()
{
    if (!m_bCaptureProblemShown)
        return;
    m_bCaptureProblemShown = false;
    SetCaptureStatusText(m_captureStatusBeforeProblem.c_str());
}
