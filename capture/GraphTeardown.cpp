#include "capture/GraphTeardown.h"

#include "capture/GraphEventQueue.h"
#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace
{
// A filter whose own stop failed (Wine's AVI mux when the disk is full) can stay paused,
// and its pins then refuse to disconnect when the graph is released, which never
// returns. Stopping each filter once more after the graph's Stop is harmless anywhere.
// Returns whether every filter has stopped.
bool StopEveryFilter(IGraphBuilder* graph)
{
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(&filters)) || !filters)
        return true;
    bool stopped = true;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        filter->Stop();
        FILTER_STATE state = State_Stopped;
        filter->GetState(0, &state);
        stopped = stopped && state == State_Stopped;
    }
    return stopped;
}
}  // namespace

void ReleaseGraph(ComPtr<IGraphBuilder>& graph)
{
    if (!graph)
        return;
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(graph.As(&control)))
        control->Stop();
    const bool stopped = StopEveryFilter(graph.Get());
    NotifyGraphEvents(graph.Get(), nullptr);
    ComPtr<IVideoWindow> videoWindow;
    if (SUCCEEDED(graph.As(&videoWindow)))
    {
        videoWindow->put_Visible(OAFALSE);
        videoWindow->put_Owner(0);
    }
    // Wine's graph, released with a filter that will not stop (its AVI mux when the
    // disk is too full for its index), tries to disconnect that filter's pins for ever.
    // Such a graph is left unreleased: a leak for the rest of the run, not a hang.
    if (!stopped)
        graph.Detach();
    graph.Reset();
}
