// Finding the camera among the video input devices.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

// Binds the preferred camera (one of three names it goes by), or failing that the
// first device that binds; null when none does. Each candidate's name is shown in
// nameLabel (may be null) before it is bound.
Microsoft::WRL::ComPtr<IBaseFilter> FindCameraFilter(HWND nameLabel);
