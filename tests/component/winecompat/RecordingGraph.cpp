#include "RecordingGraph.h"

#include <wrl/client.h>

#include "comkit/InterfaceIds.h"
#include "support/Pins.h"

using Microsoft::WRL::ComPtr;
using support::FirstPin;

HRESULT RunToCompletion(IGraphBuilder* graph, long timeoutMs, bool* completed)
{
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&control));
    if (SUCCEEDED(hr))
        hr = graph->QueryInterface(IID_PPV_ARGS(&events));
    if (SUCCEEDED(hr))
        hr = control->Run();
    if (FAILED(hr))
        return hr;
    long code = 0;
    HRESULT wait = events->WaitForCompletion(timeoutMs, &code);
    *completed = wait == S_OK && code == EC_COMPLETE;
    return S_OK;
}

HRESULT RunFor(IGraphBuilder* graph, DWORD milliseconds)
{
    ComPtr<IMediaControl> control;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&control));
    if (SUCCEEDED(hr))
        hr = control->Run();
    if (SUCCEEDED(hr))
        Sleep(milliseconds);
    return hr;
}

HRESULT StopGraph(IGraphBuilder* graph)
{
    ComPtr<IMediaControl> control;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&control));
    return SUCCEEDED(hr) ? control->Stop() : hr;
}

HRESULT StopSourceThenGraph(IGraphBuilder* graph, IBaseFilter* source)
{
    HRESULT hr = source->Stop();
    return SUCCEEDED(hr) ? StopGraph(graph) : hr;
}

HRESULT AddClipSource(IGraphBuilder* graph, const wchar_t* file, IBaseFilter** splitter)
{
    ComPtr<IBaseFilter> reader, demux;
    ComPtr<IFileSourceFilter> source;
    HRESULT hr = CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&reader));
    if (SUCCEEDED(hr))
        hr = reader.As(&source);
    if (SUCCEEDED(hr))
        hr = source->Load(file, nullptr);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(reader.Get(), L"Source");
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_AviSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&demux));
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(demux.Get(), L"Splitter");
    if (SUCCEEDED(hr))
        hr = graph->ConnectDirect(FirstPin(reader.Get(), PINDIR_OUTPUT).Get(),
                                  FirstPin(demux.Get(), PINDIR_INPUT).Get(), nullptr);
    if (SUCCEEDED(hr))
        *splitter = demux.Detach();
    return hr;
}
