// The running graph's event queue, as the dialog reads it.
#pragma once

#include <windows.h>
#include <dshow.h>

#include "capture/GraphEventText.h"

// Sends the graph's events to `window` as WM_GRAPH_EVENT; a null window stops them.
void NotifyGraphEvents(IGraphBuilder* graph, HWND window);

// Takes the next queued event off the graph and says what it means; false when the
// queue is empty or cannot be read.
bool NextGraphEvent(IGraphBuilder* graph, GraphEventMeaning* meaning);
