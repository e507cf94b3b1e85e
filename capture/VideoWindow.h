// A graph's video window inside a frame of the dialog.
#pragma once

#include <windows.h>
#include <dshow.h>

// The preview graph sets the style before making the window visible, the recording
// graph the other way round.
enum class VideoWindowOrder
{
    StyleFirst,
    VisibleFirst
};

// Owned by `frame` and filling it.
void PlaceVideoWindow(IVideoWindow* videoWindow, HWND frame, VideoWindowOrder order);
