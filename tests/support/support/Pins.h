// The first pin of a filter in one direction, for test graphs built pin by pin.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

namespace support
{

inline Microsoft::WRL::ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction)
{
    Microsoft::WRL::ComPtr<IEnumPins> pins;
    Microsoft::WRL::ComPtr<IPin> pin;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        PIN_DIRECTION found;
        if (SUCCEEDED(pin->QueryDirection(&found)) && found == direction)
            return pin;
    }
    return nullptr;
}

}  // namespace support
