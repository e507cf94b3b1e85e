#include "VideoWindowPlace.h"

#include <windows.h>

HRESULT ReadWindowPlace(IVideoWindow* window, WindowPlace* place)
{
    // Wine reports the screen rectangle; the window's parent is its owner (put_Owner
    // reparents it), and without one screen coordinates are the right ones.
    LONG left = 0, top = 0, width = 0, height = 0;
    HRESULT hr = window->GetWindowPosition(&left, &top, &width, &height);
    OAHWND owner = 0;
    if (SUCCEEDED(hr))
        hr = window->get_Owner(&owner);
    if (FAILED(hr))
        return hr;
    POINT origin = {left, top};
    if (owner)
        MapWindowPoints(HWND_DESKTOP, reinterpret_cast<HWND>(owner), &origin, 1);
    place->left = origin.x;
    place->top = origin.y;
    place->width = width;
    place->height = height;
    return S_OK;
}

// SetWindowPosition passes its numbers straight to SetWindowPos, so it is right as it is.
HRESULT MoveWindowLeft(IVideoWindow* window, LONG left)
{
    WindowPlace place;
    HRESULT hr = ReadWindowPlace(window, &place);
    return SUCCEEDED(hr) ? window->SetWindowPosition(left, place.top, place.width, place.height) : hr;
}

HRESULT MoveWindowTop(IVideoWindow* window, LONG top)
{
    WindowPlace place;
    HRESULT hr = ReadWindowPlace(window, &place);
    return SUCCEEDED(hr) ? window->SetWindowPosition(place.left, top, place.width, place.height) : hr;
}
