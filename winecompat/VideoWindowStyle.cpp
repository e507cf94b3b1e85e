#include "VideoWindowStyle.h"

#include <dshow.h>  // OATRUE, OAFALSE

HRESULT ChangeWindowStyle(IVideoWindow* window, LONG style)
{
    LONG visibleBefore = OAFALSE;
    HRESULT hr = window->get_Visible(&visibleBefore);
    if (SUCCEEDED(hr))
        hr = window->put_WindowStyle(style);
    if (FAILED(hr))
        return hr;
    LONG visibleAfter = visibleBefore;
    if (SUCCEEDED(window->get_Visible(&visibleAfter)) && visibleAfter != visibleBefore)
        return window->put_Visible(visibleBefore);
    return S_OK;
}
