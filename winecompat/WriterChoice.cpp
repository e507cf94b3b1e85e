#include "WriterChoice.h"

#include <uuids.h>

#include "writer/StreamWriter.h"

using Microsoft::WRL::ComPtr;

bool InputPinOffersStream(IBaseFilter* filter)
{
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins)))
        return false;
    ComPtr<IPin> pin;
    while (pins->Next(1, &pin, nullptr) == S_OK)
    {
        PIN_DIRECTION direction = PINDIR_OUTPUT;
        ComPtr<IStream> stream;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT)
            return SUCCEEDED(pin.As(&stream));
    }
    return false;
}

HRESULT CreateStreamingFileWriter(ComPtr<IBaseFilter>* writer)
{
    ComPtr<IBaseFilter> platform;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&platform))) &&
        InputPinOffersStream(platform.Get()))
    {
        *writer = platform;
        return S_OK;
    }
    ComPtr<IBaseFilter> ours;
    HRESULT hr = CreateStreamWriter(IID_PPV_ARGS(&ours));
    if (SUCCEEDED(hr))
        *writer = ours;
    return hr;
}
