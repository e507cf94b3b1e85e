#include "OutputFile.h"

#include <uuids.h>
#include <wrl/client.h>

#include <cwchar>

#include "FilterRollback.h"
#include "WriterChoice.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Windows creates a graph when the caller has not set one.
HRESULT BuilderGraph(ICaptureGraphBuilder2* builder, ComPtr<IGraphBuilder>* graph)
{
    ComPtr<IGraphBuilder> existing;
    if (SUCCEEDED(builder->GetFiltergraph(&existing)) && existing)
    {
        *graph = existing;
        return S_OK;
    }
    ComPtr<IGraphBuilder> created;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created));
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(created.Get());
    if (SUCCEEDED(hr))
        *graph = created;
    return hr;
}

HRESULT CheckArguments(const GUID* type, LPCOLESTR file, IBaseFilter** mux)
{
    if (!type || !file || !mux)
        return E_POINTER;
    if (!file[0])
        return E_INVALIDARG;
    // Only the AVI mux is a gap here; other subtypes and mux classes are not built.
    if (*type != MEDIASUBTYPE_Avi)
        return E_NOTIMPL;
    return S_OK;
}

// Like Windows, the writer is named after its file; graphs keep names shorter than
// MAX_FILTER_NAME.
void WriterName(LPCOLESTR file, wchar_t (&name)[MAX_FILTER_NAME])
{
    wcsncpy(name, file, MAX_FILTER_NAME - 1);
    name[MAX_FILTER_NAME - 1] = L'\0';
}

HRESULT ConnectMuxToWriter(ICaptureGraphBuilder2* builder, IGraphBuilder* graph, IBaseFilter* mux,
                           IBaseFilter* writer)
{
    ComPtr<IPin> muxOut;
    ComPtr<IPin> writerIn;
    HRESULT hr = builder->FindPin(mux, PINDIR_OUTPUT, nullptr, nullptr, TRUE, 0, &muxOut);
    if (SUCCEEDED(hr))
        hr = builder->FindPin(writer, PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &writerIn);
    if (SUCCEEDED(hr))
        hr = graph->ConnectDirect(muxOut.Get(), writerIn.Get(), nullptr);
    return hr;
}

struct AviOutput
{
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
};

HRESULT BuildAviOutput(ICaptureGraphBuilder2* builder, LPCOLESTR file, AviOutput* output)
{
    ComPtr<IGraphBuilder> graph;
    HRESULT hr = BuilderGraph(builder, &graph);
    ComPtr<IBaseFilter> mux;
    ComPtr<IBaseFilter> writer;
    ComPtr<IFileSinkFilter> sink;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mux));
    if (SUCCEEDED(hr))
        hr = CreateStreamingFileWriter(&writer);
    if (SUCCEEDED(hr))
        hr = writer.As(&sink);
    if (SUCCEEDED(hr))
        hr = sink->SetFileName(file, nullptr);
    if (FAILED(hr))
        return hr;

    FilterRollback added(graph.Get());
    wchar_t writerName[MAX_FILTER_NAME];
    WriterName(file, writerName);
    hr = added.Add(mux.Get(), L"Mux");
    if (SUCCEEDED(hr))
        hr = added.Add(writer.Get(), writerName);
    if (SUCCEEDED(hr))
        hr = ConnectMuxToWriter(builder, graph.Get(), mux.Get(), writer.Get());
    if (FAILED(hr))
        return hr;
    added.Commit();
    output->mux = mux;
    output->sink = sink;
    return S_OK;
}

}  // namespace

HRESULT SetAviOutputFileName(ICaptureGraphBuilder2* builder, const GUID* type, LPCOLESTR file,
                             IBaseFilter** mux, IFileSinkFilter** sink)
{
    HRESULT hr = CheckArguments(type, file, mux);
    AviOutput output;
    if (SUCCEEDED(hr))
    {
        try
        {
            hr = BuildAviOutput(builder, file, &output);
        }
        catch (...)
        {
            hr = E_OUTOFMEMORY;
        }
    }
    if (mux)
        *mux = SUCCEEDED(hr) ? output.mux.Detach() : nullptr;
    if (sink)
        *sink = SUCCEEDED(hr) ? output.sink.Detach() : nullptr;
    return hr;
}
