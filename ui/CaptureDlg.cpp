#include "ui/CaptureDlg.h"

#include "snapshot/GrabBuffer.h"
#include "ui/AboutDlg.h"
#include "ui/OutputDirectory.h"

BEGIN_MESSAGE_MAP(CCaptureDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_ACTION, &CCaptureDlg::OnAction)
    ON_BN_CLICKED(IDC_MODE_SNAPSHOT, &CCaptureDlg::OnModeSnapshot)
    ON_BN_CLICKED(IDC_MODE_AVI, &CCaptureDlg::OnModeAvi)
    ON_BN_CLICKED(IDC_RESET_COUNTER, &CCaptureDlg::OnResetCounter)
    ON_BN_CLICKED(IDC_VIEW_STILL, &CCaptureDlg::OnViewStill)
    ON_BN_CLICKED(IDC_SETUP_CAMERA, &CCaptureDlg::OnSetupCamera)
    ON_BN_CLICKED(IDC_FORMAT, &CCaptureDlg::OnFormat)
    ON_BN_CLICKED(IDC_DIRECTORY, &CCaptureDlg::OnDirectory)
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_GRAPH_EVENT, &CCaptureDlg::OnGraphEvent)
    ON_MESSAGE(WM_DEVICECHANGE, &CCaptureDlg::OnDeviceChange)
END_MESSAGE_MAP()

namespace
{
constexpr char kDefaultBaseName[] = "Tarnview_Capture";
constexpr char kDefaultFrameRate[] = "30";
constexpr char kDefaultDuration[] = "0";
}  // namespace

// The capture state gets its start values in OnInitDialog; it is zeroed here only so
// that nothing is ever read before it has a value.
CCaptureDlg::CCaptureDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_bSnapshotMode(false),
      m_bRecording(FALSE),
      m_nFileCounter(0),
      m_dwRecordStart(0),
      m_nDurationSec(0),
      m_nTimer(0),
      m_szDirectory(),
      m_nFormatIndex(0),
      m_szRecordingName(),
      m_bCameraLost(false),
      m_bPreviewSilent(false),
      m_bCaptureProblemShown(false)
{
    LPCSTR iconName = MAKEINTRESOURCEA(IDR_MAINFRAME);
    m_hIcon = LoadIconA(AfxFindResourceHandle(iconName, RT_GROUP_ICON), iconName);
}

CCaptureDlg::~CCaptureDlg()
{
    // Only a dialog that was never run modally still has its window here.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

void CCaptureDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATUS, m_statusText);
    DDX_Control(pDX, IDC_LAST_SNAPSHOT, m_lastSnapshotFrame);
    DDX_Control(pDX, IDC_PREVIEW, m_previewFrame);
    DDX_Control(pDX, IDC_CAPTURE_STATUS, m_captureStatusText);
}

BOOL CCaptureDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
    {
        CString aboutText;
        if (aboutText.LoadString(IDS_ABOUTBOX))
        {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    SetDefaultOutputDirectory(m_szDirectory, sizeof m_szDirectory);

    CheckDlgButton(IDC_MODE_SNAPSHOT, BST_CHECKED);
    m_bSnapshotMode = true;
    m_bRecording = FALSE;
    m_nFileCounter = 0;

    GrabBuffer.ownerWindow = m_hWnd;

    SetDlgItemText(IDC_FRAME_RATE, kDefaultFrameRate);
    CheckDlgButton(IDC_INCREMENT, BST_CHECKED);
    SetDlgItemText(IDC_FILENAME, kDefaultBaseName);

    m_dwRecordStart = 0;
    m_nDurationSec = 0;
    SetDlgItemText(IDC_DURATION, kDefaultDuration);

    m_nFormatIndex = 0;

    BuildPreviewGraph();

    // The video window and the still painter draw into these frames; the frames must
    // not paint over them.
    HWND frame = nullptr;
    GetDlgItem(IDC_PREVIEW, &frame);
    CWnd::ModifyStyle(frame, 0, WS_CLIPCHILDREN, 0);
    GetDlgItem(IDC_LAST_SNAPSHOT, &frame);
    CWnd::ModifyStyle(frame, 0, WS_CLIPCHILDREN, 0);
    return TRUE;
}

void CCaptureDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CCaptureDlg::OnPaint()
{
    if (!IsIconic())
    {
        CDialog::OnPaint();
        PaintLastSnapshot();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CCaptureDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

LRESULT CCaptureDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FRAME_GRABBED)
        WriteSnapshot();
    return CDialog::WindowProc(message, wParam, lParam);
}

void CCaptureDlg::OnClose()
{
    ReleaseGrabBlock();
    CDialog::OnClose();
}

// The graph goes first, while the window and the frames its video window lives in
// still exist.
BOOL CCaptureDlg::DestroyWindow()
{
    TearDownGraph();
    return CDialog::DestroyWindow();
}
