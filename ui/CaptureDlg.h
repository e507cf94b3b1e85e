// CCaptureDlg: Tarnview's one dialog. It is the hub of the program: the capture
// controller's handlers, camera discovery and the graph builders, the snapshot writer
// and painter are all members of it, and it owns the one graph that exists at any
// time. The members' graph work is done by free functions in capture/, the files'
// by snapshot/.
#pragma once

#include <afxwin.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <string>

#include "capture/DialogMessages.h"
#include "capture/RecordingWatch.h"
#include "capture/VideoWindow.h"
#include "ui/DialogTimers.h"
#include "ui/resource.h"

struct GraphBuildStatus;
struct GraphEventMeaning;
struct NumberedFile;

class CCaptureDlg : public CDialog
{
public:
    explicit CCaptureDlg(CWnd* pParent = nullptr);
    ~CCaptureDlg() override;

    enum
    {
        IDD = IDD_MAIN
    };

    BOOL DestroyWindow() override;

    // Capture engine (ui/DialogGraphs.cpp, over capture/).
    void FindCamera(IBaseFilter** camera);
    HRESULT BuildPreviewGraph();
    HRESULT BuildRecordingGraph(const char* fullPath);
    void TearDownGraph();

    // Snapshot pipeline (ui/SnapshotDialog.cpp, over snapshot/).
    void WriteSnapshot();
    void PaintLastSnapshot();

    // Error reporter and status lines (ui/).
    void ReportError(const char* text);
    void SetStatusText(const char* text);
    void SetCaptureStatusText(const char* text);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnAction();
    afx_msg void OnModeSnapshot();
    afx_msg void OnModeAvi();
    afx_msg void OnResetCounter();
    afx_msg void OnViewStill();
    afx_msg void OnSetupCamera();
    afx_msg void OnFormat();
    afx_msg void OnDirectory();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg LRESULT OnGraphEvent(WPARAM, LPARAM);
    afx_msg LRESULT OnDeviceChange(WPARAM event, LPARAM);
    DECLARE_MESSAGE_MAP()

    // The steps both graph builders share (ui/DialogGraphs.cpp). A failure is reported
    // through ReportError (a missing camera, once lost, as "Camera lost") and its
    // status returned; with clipFailuresTold, a failure of the clip's file the user can
    // mend is only returned.
    HRESULT ReportBuildFailure(const GraphBuildStatus& status, bool clipFailuresTold = false);
    HWND CameraLabel() const;
    HRESULT ShowAndRunGraph(VideoWindowOrder order, bool clipFailuresTold = false);
    void StartPreviewWatch(REFERENCE_TIME frameInterval);

    // What the running graph reports (ui/GraphEvents.cpp).
    void HandleGraphEvent(const GraphEventMeaning& meaning);
    void EndRecordingBecause(const std::string& cause, DWORD keptMs);
    void RebuildPreview();
    HRESULT ReportCameraLost();
    void WatchPreview();

    // A capture that failed is told on IDC_CAPTURE_STATUS until the next one succeeds,
    // which puts the line back as it was (ui/ErrorReporting.cpp).
    void ShowCaptureProblem(const char* text);
    void ShowCaptureProblem(UINT nIDText);  // a text of the string table
    void ClearCaptureProblem();

    // The three roads of the action button (ui/CaptureController.cpp).
    void RequestSnapshot(const char* baseName);
    void StartRecording(const char* baseName);
    bool ReserveClip(const char* baseName, bool increment, NumberedFile& clip);
    void ReturnToPreview(const NumberedFile& clip, HRESULT cause);
    void StopRecording();

    Microsoft::WRL::ComPtr<IGraphBuilder> m_pGraph;
    Microsoft::WRL::ComPtr<ISampleGrabber> m_pGrabber;

    // Capture state.
    bool m_bSnapshotMode;
    BOOL m_bRecording;
    int m_nFileCounter;
    DWORD m_dwRecordStart;
    int m_nDurationSec;
    UINT m_nTimer;
    char m_szDirectory[255];
    int m_nFormatIndex;
    // The short name of the file the running recording writes, shown when it stops.
    char m_szRecordingName[MAX_PATH];
    // The camera was lost: the next build that finds none says so instead of failing.
    bool m_bCameraLost;
    // Whether the running recording graph still gets frames; active only while it runs.
    RecordingWatch m_recordingWatch;
    // Whether the running preview still gets frames: looked at once a second.
    SilenceClock m_previewSilence;
    bool m_bPreviewSilent;
    bool m_bCaptureProblemShown;
    std::string m_captureStatusBeforeProblem;

    CStatic m_statusText;
    CStatic m_lastSnapshotFrame;
    CStatic m_previewFrame;
    CStatic m_captureStatusText;

    HICON m_hIcon;

    // In-process tests reach the capture state through this.
    friend class CaptureDlgTestAccess;
};
