// The recording graph: the camera's capture pin into the AVI multiplexer and file
// writer, its preview pin into the default renderer.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "capture/GraphAssembly.h"

struct RecordingGraph
{
    Microsoft::WRL::ComPtr<IGraphBuilder> graph;            // the partial graph too, when a step failed
    Microsoft::WRL::ComPtr<IAMDroppedFrames> frameCounter;  // null for a camera without it
    REFERENCE_TIME frameInterval = 0;                       // of the capture format; 0 when unknown
    GraphBuildStatus status;
};

// A failure of the clip's file that the user can mend (folder gone, no access, name
// taken meanwhile, disk full): told where captures are told, not as a fault.
bool IsFixableFileFailure(HRESULT hr);

// Builds the recording graph for capability formatIndex of the camera at `rate`
// frames per second (1..30), writing `path`. The graph is not run: StartGraph does that.
RecordingGraph AssembleRecordingGraph(HWND cameraLabel, int& formatIndex, UINT rate, const char* path);
