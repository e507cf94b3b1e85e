#include "CameraRecordingGraph.h"

#include "TestFiles.h"

HRESULT CameraRecordingGraph::Build(const CameraDevice& device, const std::string& unixOutput)
{
    HRESULT hr = device.Bind(&camera);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&graph));
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(camera.Get(), L"Cap");
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&builder));
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(graph.Get());
    if (SUCCEEDED(hr))
        hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, WindowsPathW(unixOutput).c_str(), &mux, nullptr);
    if (SUCCEEDED(hr))
        hr = builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.Get(), nullptr, mux.Get());
    return hr;
}

void CameraRecordingGraph::Release()
{
    mux.Reset();
    builder.Reset();
    camera.Reset();
    graph.Reset();
}

StampCount CountStamps(const std::vector<uint32_t>& numbers)
{
    StampCount count;
    count.frames = numbers.size();
    for (size_t i = 1; i < numbers.size(); ++i)
    {
        if (numbers[i] <= numbers[i - 1])
            ++count.repeated;
        else
            count.lost += numbers[i] - numbers[i - 1] - 1;
    }
    return count;
}
