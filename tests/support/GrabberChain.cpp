#include "support/GrabberChain.h"

#include "capture/QeditClsids.h"
#include "support/Pins.h"

namespace support
{

HRESULT GrabberChain::Build(IBaseFilter* source, IPin* pin, const GUID& subtype)
{
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&grabberFilter));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer));
    if (SUCCEEDED(hr))
        hr = grabberFilter.As(&grabber);
    AM_MEDIA_TYPE want = {};
    want.majortype = MEDIATYPE_Video;
    want.subtype = subtype;
    if (SUCCEEDED(hr))
        hr = grabber->SetMediaType(&want);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(source, L"Source");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(grabberFilter.Get(), L"Grabber");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(renderer.Get(), L"Null");
    if (SUCCEEDED(hr))
        hr = graph->Connect(pin ? pin : FirstPin(source, PINDIR_OUTPUT).Get(),
                            FirstPin(grabberFilter.Get(), PINDIR_INPUT).Get());
    if (SUCCEEDED(hr))
        hr = graph->Connect(FirstPin(grabberFilter.Get(), PINDIR_OUTPUT).Get(),
                            FirstPin(renderer.Get(), PINDIR_INPUT).Get());
    return hr;
}

}  // namespace support
