// The class factory handed out by DllGetClassObject: one per request, creating
// objects through a plain creation function.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "vcam/dll/ModuleLife.h"

using CreateInstanceFn = HRESULT (*)(REFIID riid, void** ppv);

class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(CreateInstanceFn create) : m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory() = default;

    volatile LONG m_refs = 1;
    CreateInstanceFn m_create;
    ModuleObjectCount m_count;
};
