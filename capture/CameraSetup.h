// The camera driver's own settings pages.
#pragma once

#include <windows.h>
#include <dshow.h>

// Opens the camera's pages in a modal property frame; returns at once when the camera
// has none.
void ShowCameraPages(IBaseFilter* camera, HWND owner);
