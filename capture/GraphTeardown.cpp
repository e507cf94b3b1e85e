#include "comkit/InterfaceIds.h"
#include "ui/CaptureDlg.h"

using Microsoft::WRL::ComPtr;

// Stops the graph before anything is released, so the streaming thread has left the
// grab callback before the grabber goes; then stops its notifications, hides and
// un-owns the video window.
void CCaptureDlg::TearDownGraph()
{
    if (!m_pGraph)
        return;
    m_recordingWatch.Stop();
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(m_pGraph.As(&control)))
        control->Stop();
    ComPtr<IMediaEventEx> events;
    if (SUCCEEDED(m_pGraph.As(&events)))
        events->SetNotifyWindow(0, 0, 0);
    ComPtr<IVideoWindow> videoWindow;
    if (SUCCEEDED(m_pGraph.As(&videoWindow)))
    {
        videoWindow->put_Visible(OAFALSE);
        videoWindow->put_Owner(0);
    }
    m_pGraph.Reset();
    m_pGrabber.Reset();
}
