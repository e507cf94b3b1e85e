#include "capture/GraphTeardown.h"

#include "capture/GraphEventQueue.h"
#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace
{
// A graph whose Run failed stays half paused under Wine: its Stop does nothing, and the
// filters that paused keep pins that refuse to disconnect, so releasing the graph never
// returns. Stopping each filter once more after the graph's Stop is harmless anywhere.
void StopEveryFilter(IGraphBuilder* graph)
{
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(&filters)) || !filters)
        return;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        filter->Stop();
}
}  // namespace

void ReleaseGraph(ComPtr<IGraphBuilder>& graph)
{
    if (!graph)
        return;
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(graph.As(&control)))
        control->Stop();
    StopEveryFilter(graph.Get());
    NotifyGraphEvents(graph.Get(), nullptr);
    ComPtr<IVideoWindow> videoWindow;
    if (SUCCEEDED(graph.As(&videoWindow)))
    {
        videoWindow->put_Visible(OAFALSE);
        videoWindow->put_Owner(0);
    }
    graph.Reset();
}
