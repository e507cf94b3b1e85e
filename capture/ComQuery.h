// QueryInterface into a ComPtr by explicit IID: mingw-w64 declares no __uuidof for
// several DirectShow interfaces (IVideoWindow, IMediaControl), so ComPtr::As cannot be used.
#pragma once

#include <unknwn.h>
#include <wrl/client.h>

template <typename T>
HRESULT QueryInto(IUnknown* from, REFIID iid, Microsoft::WRL::ComPtr<T>& to)
{
    if (!from)
        return E_POINTER;
    return from->QueryInterface(iid, reinterpret_cast<void**>(to.ReleaseAndGetAddressOf()));
}
