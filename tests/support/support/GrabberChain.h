// The test graph that watches a filter's frames: its output pin -> a sample grabber
// that takes one video subtype -> a null renderer.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

namespace support
{

struct GrabberChain
{
    Microsoft::WRL::ComPtr<IGraphBuilder> graph;
    Microsoft::WRL::ComPtr<IBaseFilter> grabberFilter;
    Microsoft::WRL::ComPtr<ISampleGrabber> grabber;
    Microsoft::WRL::ComPtr<IBaseFilter> renderer;

    // Makes the graph with the three filters and connects `pin` (the source's first
    // output pin when null) through the grabber into the renderer.
    HRESULT Build(IBaseFilter* source, IPin* pin = nullptr, const GUID& subtype = MEDIASUBTYPE_RGB24);
};

}  // namespace support
