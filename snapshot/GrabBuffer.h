// The process-wide record that the streaming thread's frame-grab callback shares with
// the user-interface thread: the pending request, the frame block and what the
// snapshot writer and the still painter need.
#pragma once

#include <windows.h>
#include <atomic>

class CCaptureDlg;

struct GrabBufferRecord
{
    LONG frameWidth;               // biWidth of the grabber's connected format
    LONG frameHeight;              // biHeight, as the format states it (negative: top-down)
    CCaptureDlg* ownerDialog;      // not owned; set by every preview-graph build
    char snapDirectory[MAX_PATH];  // ends in a backslash; always terminated
    char snapBaseName[MAX_PATH];   // always terminated
    char lastStillPath[MAX_PATH];  // the last still that was actually written
    LONG haveStill;
    std::atomic<LONG> grabPending;  // the only value the request shares with the streaming thread
    HWND ownerWindow;               // target of WM_FRAME_GRABBED; owner of the camera's pages
    LONG frameCapacity;
    LONG frameLength;
    BYTE* frameBytes;  // grows only; released when the dialog closes
    BITMAPINFOHEADER lastStillHeader;
    std::atomic<LONG> framesSeen;  // every frame through the grabber: the preview's pulse
};

// Zero-initialised at static initialisation, before any start-up code runs.
extern GrabBufferRecord GrabBuffer;

// The snapshot request, as the controller makes it: both names are copied first (at
// most 260 bytes each, and always left terminated), then grabPending is raised.
void RequestGrab(const char* directory, const char* baseName);

// Frees the frame block at dialog close, inside the exclusion that keeps the
// callback's copy out. frameCapacity is left as it was.
void ReleaseGrabBlock();
