// The end of any graph, preview or recording.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

// Stops the graph before anything is released, so the streaming thread has left the
// grab callback before the grabber goes; then stops its notifications, hides and
// un-owns the video window, and releases it. Harmless on a null graph.
void ReleaseGraph(Microsoft::WRL::ComPtr<IGraphBuilder>& graph);
