#include "comkit/TaskMemory.h"

#include <cwchar>

namespace comkit
{

HRESULT CopyToTaskString(const wchar_t* text, LPWSTR* copy)
{
    if (!copy)
        return E_POINTER;
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    *copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*copy)
        return E_OUTOFMEMORY;
    CopyMemory(*copy, text, bytes);
    return S_OK;
}

}  // namespace comkit
