// Running and stopping a recording graph in tests.
#pragma once

#include <dshow.h>

// Runs the graph and waits for EC_COMPLETE; *completed says whether it came in time.
HRESULT RunToCompletion(IGraphBuilder* graph, long timeoutMs, bool* completed);
HRESULT RunFor(IGraphBuilder* graph, DWORD milliseconds);
HRESULT StopGraph(IGraphBuilder* graph);
// Stops the live source before the graph: Wine's graph stops the mux first, and a
// frame the camera still delivers then crashes the mux (docs/WINE-NOTES.md).
HRESULT StopSourceThenGraph(IGraphBuilder* graph, IBaseFilter* source);

// The source clip played through File Source (Async) and the AVI splitter.
HRESULT AddClipSource(IGraphBuilder* graph, const wchar_t* file, IBaseFilter** splitter);
