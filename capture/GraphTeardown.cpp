#include "ui/CaptureDlg.h"  // first: afxwin.h must precede windowsx.h from dshow.h

#include <wrl/client.h>

#include "capture/ComQuery.h"


using Microsoft::WRL::ComPtr;

// Stops the graph before anything is released, so the streaming thread has left the
// grab callback before the grabber goes; then hides and un-owns the video window.
void CCaptureDlg::TearDownGraph()
{
    if (!m_pGraph)
        return;
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(QueryInto(m_pGraph.Get(), IID_IMediaControl, control)))
        control->Stop();
    ComPtr<IVideoWindow> videoWindow;
    if (SUCCEEDED(QueryInto(m_pGraph.Get(), IID_IVideoWindow, videoWindow)))
    {
        videoWindow->put_Visible(OAFALSE);
        videoWindow->put_Owner(0);
    }
    m_pGraph.Reset();
    m_pGrabber.Reset();
}

void CCaptureDlg::PlaceVideoWindow(IVideoWindow* videoWindow, VideoWindowOrder order)
{
    HWND preview = nullptr;
    GetDlgItem(IDC_PREVIEW, &preview);
    RECT rect{};
    ::GetWindowRect(preview, &rect);
    videoWindow->put_Owner(reinterpret_cast<OAHWND>(preview));
    videoWindow->put_Left(0);
    videoWindow->put_Top(0);
    videoWindow->put_Width(rect.right - rect.left);
    videoWindow->put_Height(rect.bottom - rect.top);
    const long style = WS_CHILD | WS_CLIPSIBLINGS;
    if (order == VideoWindowOrder::StyleFirst)
    {
        videoWindow->put_WindowStyle(style);
        videoWindow->put_Visible(OATRUE);
    }
    else
    {
        videoWindow->put_Visible(OATRUE);
        videoWindow->put_WindowStyle(style);
    }
}
