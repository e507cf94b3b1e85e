#include "comkit/Unknown.h"

namespace comkit
{

HRESULT QueryFromTable(void* object, const InterfaceEntry* table, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const InterfaceEntry* entry = table; entry->cast; ++entry)
    {
        const bool identity = entry == table && riid == IID_IUnknown;
        if (!identity && riid != entry->iid)
            continue;
        IUnknown* found = entry->cast(object);
        if (!found)
            return E_NOINTERFACE;
        found->AddRef();
        *ppv = found;
        return S_OK;
    }
    return E_NOINTERFACE;
}

}  // namespace comkit
