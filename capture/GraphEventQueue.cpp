#include "capture/GraphEventQueue.h"

#include <wrl/client.h>

#include "capture/DialogMessages.h"
#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

void NotifyGraphEvents(IGraphBuilder* graph, HWND window)
{
    ComPtr<IMediaEventEx> events;
    if (graph && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&events))))
        events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), window ? WM_GRAPH_EVENT : 0, 0);
}

bool NextGraphEvent(IGraphBuilder* graph, GraphEventMeaning* meaning)
{
    ComPtr<IMediaEventEx> events;
    if (!graph || FAILED(graph->QueryInterface(IID_PPV_ARGS(&events))))
        return false;
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    if (events->GetEvent(&code, &param1, &param2, 0) != S_OK)
        return false;
    *meaning = ClassifyGraphEvent(code, param1, param2);
    events->FreeEventParams(code, param1, param2);
    return true;
}
