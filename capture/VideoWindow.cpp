#include "capture/VideoWindow.h"

void PlaceVideoWindow(IVideoWindow* videoWindow, HWND frame, VideoWindowOrder order)
{
    RECT rect{};
    ::GetWindowRect(frame, &rect);
    videoWindow->put_Owner(reinterpret_cast<OAHWND>(frame));
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
