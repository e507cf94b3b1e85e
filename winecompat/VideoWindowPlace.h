// The video window's position in its parent's client coordinates, as SetWindowPos takes
// it. Wine's renderer reads its position with GetWindowRect (screen coordinates) and
// hands one of them back to SetWindowPos, so a child window moves by its owner's screen
// offset; these read and move through the renderer's correct calls and map the rest.
#pragma once

#include <control.h>

struct WindowPlace
{
    LONG left = 0;
    LONG top = 0;
    LONG width = 0;
    LONG height = 0;
};

HRESULT ReadWindowPlace(IVideoWindow* window, WindowPlace* place);
HRESULT MoveWindowLeft(IVideoWindow* window, LONG left);
HRESULT MoveWindowTop(IVideoWindow* window, LONG top);
