// An IUnknown that only counts, and a look at any object's count, to see that code under
// test releases what it holds.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace support
{

class CountedUnknown : public IUnknown
{
public:
    STDMETHODIMP QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};

// The object's reference count as it stands (AddRef and Release both return it).
inline ULONG ReferenceCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

}  // namespace support
