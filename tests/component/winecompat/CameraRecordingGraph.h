// A recording graph as the program builds one: the virtual camera's capture stream into
// the AVI mux and file writer that SetOutputFileName puts in the graph.
#pragma once

#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "CameraDevice.h"

struct CameraRecordingGraph
{
    Microsoft::WRL::ComPtr<IBaseFilter> camera;
    Microsoft::WRL::ComPtr<IGraphBuilder> graph;
    Microsoft::WRL::ComPtr<ICaptureGraphBuilder2> builder;
    Microsoft::WRL::ComPtr<IBaseFilter> mux;

    HRESULT Build(const CameraDevice& device, const std::string& unixOutput);
    void Release();
};

// Frames lost and repeated in a recording, by the stamps the camera put in them.
struct StampCount
{
    size_t frames = 0;
    size_t lost = 0;
    size_t repeated = 0;
};
StampCount CountStamps(const std::vector<uint32_t>& numbers);
