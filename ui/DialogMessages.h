// The private messages posted to the main dialog, apart from the dialog class so that
// the streaming-thread code that posts them needs nothing else of it.
#pragma once

#include <windows.h>

// Posted by the frame-grab callback when a requested frame lies in the grab buffer.
constexpr UINT WM_FRAME_GRABBED = WM_APP + 1;

// Posted by the running graph (IMediaEventEx::SetNotifyWindow) when it has events queued.
constexpr UINT WM_GRAPH_EVENT = WM_APP + 2;

// The dialog's timers: the recording's one-second progress, the preview's pulse.
constexpr UINT_PTR kRecordingTimerId = 1;
constexpr UINT_PTR kPreviewWatchTimerId = 2;
