// The steps that the preview and recording builders share, as free functions on the
// graph: the graph with the camera in it, the capture graph builder on it, and at the
// end the video window placed, the graph's events sent to a window and the graph run.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "capture/VideoWindow.h"

// The texts each graph builder reports its shared steps with (see ErrorTexts.h).
struct GraphBuildTexts
{
    const char* createGraph;
    const char* addCamera;
    bool addCameraFailsWithItsStatus;  // else E_FAIL
    const char* createBuilder;
    const char* setGraph;
};

// How a build went: S_OK, or the status and the text of the first step that failed.
struct GraphBuildStatus
{
    HRESULT hr = S_OK;
    const char* failedStep = nullptr;
    bool noCamera = false;  // no camera could be bound; failedStep is ErrorText::kNoCamera

    bool Failed() const { return FAILED(hr); }
};

GraphBuildStatus StepFailed(const char* text, HRESULT hr);

// A new graph holding the camera FindCameraFilter binds (it shows the camera's name in
// cameraLabel). The graph is handed out even when a later step fails.
GraphBuildStatus CreateGraphWithCamera(const GraphBuildTexts& texts, HWND cameraLabel,
                                       Microsoft::WRL::ComPtr<IGraphBuilder>& graph,
                                       Microsoft::WRL::ComPtr<IBaseFilter>& camera);

GraphBuildStatus CreateCaptureBuilder(const GraphBuildTexts& texts, DWORD context, IGraphBuilder* graph,
                                      Microsoft::WRL::ComPtr<ICaptureGraphBuilder2>& builder);

// Where a built graph shows itself: its video window fills previewFrame, its events
// go to notifyWindow as WM_GRAPH_EVENT (none when null).
struct GraphWindows
{
    HWND previewFrame;
    HWND notifyWindow;
};

// Places the video window, sends the graph's events to the window and runs the graph.
GraphBuildStatus StartGraph(IGraphBuilder* graph, const GraphWindows& windows, VideoWindowOrder order);
