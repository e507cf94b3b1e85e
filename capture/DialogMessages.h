// The private messages posted to the main dialog, apart from the dialog class so that
// the graph builders and the streaming-thread code that post them need nothing of it.
#pragma once

#include <windows.h>

// Posted by the frame-grab callback when a requested frame lies in the grab buffer.
constexpr UINT WM_FRAME_GRABBED = WM_APP + 1;

// Posted by the running graph (IMediaEventEx::SetNotifyWindow) when it has events queued.
constexpr UINT WM_GRAPH_EVENT = WM_APP + 2;
