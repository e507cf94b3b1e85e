#include "RecordingGraph.h"

#include <wrl/client.h>

#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace
{

HRESULT FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted, IPin** found)
{
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(&pins);
    if (FAILED(hr))
        return hr;
    ComPtr<IPin> pin;
    while (pins->Next(1, &pin, nullptr) == S_OK)
    {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted)
        {
            *found = pin.Detach();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

}  // namespace

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
    ComPtr<IPin> readerOut, demuxIn;
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
        hr = FirstPin(reader.Get(), PINDIR_OUTPUT, &readerOut);
    if (SUCCEEDED(hr))
        hr = FirstPin(demux.Get(), PINDIR_INPUT, &demuxIn);
    if (SUCCEEDED(hr))
        hr = graph->ConnectDirect(readerOut.Get(), demuxIn.Get(), nullptr);
    if (SUCCEEDED(hr))
        *splitter = demux.Detach();
    return hr;
}
