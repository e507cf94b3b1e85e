#include "comkit/ClassFactory.h"

#include "comkit/Unknown.h"

namespace comkit
{

namespace
{

class ClassFactory : public IClassFactory
{
public:
    explicit ClassFactory(CreateInstanceFn create) : m_create(create) {}

    static const InterfaceEntry* Interfaces() { return InterfaceTable<ClassFactory, Is<IClassFactory>>(); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        try
        {
            return m_create(riid, ppv);
        }
        catch (...)
        {
            return E_OUTOFMEMORY;
        }
    }

    STDMETHODIMP LockServer(BOOL lock) override
    {
        ModuleLock(lock != FALSE);
        return S_OK;
    }

protected:
    ~ClassFactory() = default;

private:
    CreateInstanceFn m_create;
};

}  // namespace

HRESULT GetClassFactory(CreateInstanceFn create, REFIID riid, void** ppv)
{
    return CreateObject<ClassFactory>(riid, ppv, create);
}

HRESULT GetClassObject(const ClassEntry* classes, size_t count, REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (size_t i = 0; i < count; ++i)
    {
        if (*classes[i].clsid == clsid)
            return GetClassFactory(classes[i].create, riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace comkit
