// The preview graph: camera, sample grabber (RGB24 only) and a renderer.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include "capture/GraphAssembly.h"

struct PreviewGraph
{
    Microsoft::WRL::ComPtr<IGraphBuilder> graph;  // the partial graph too, when a step failed
    Microsoft::WRL::ComPtr<ISampleGrabber> grabber;
    LONG frameWidth = 0;   // of the grabber's connected type
    LONG frameHeight = 0;  // as the type states it (negative: top-down)
    REFERENCE_TIME frameInterval = 0;  // of the camera's format; 0 when unknown
    GraphBuildStatus status;
};

// Builds the preview graph for capability formatIndex of the camera (wrapped as
// ApplyCaptureFormat wraps it), with every frame through the grabber to `callback`
// (BufferCB). The graph is not run: StartGraph does that.
PreviewGraph AssemblePreviewGraph(HWND cameraLabel, int& formatIndex, ISampleGrabberCB* callback);
