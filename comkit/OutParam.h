// The common tail of a COM getter: the value handed out through the caller's pointer,
// or E_POINTER when there is none.
#pragma once

#include <windows.h>

namespace comkit
{

template <class T, class Value>
HRESULT SetOut(T* out, const Value& value)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

}  // namespace comkit
