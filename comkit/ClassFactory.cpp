#include "comkit/ClassFactory.h"

#include "comkit/Unknown.h"

namespace comkit {

namespace {

class ClassFactory : public IClassFactory
{
public:
    explicit ClassFactory(CreateInstanceFn create) : m_create(create) {}

    static const InterfaceEntry* Interfaces()
    {
        static const InterfaceEntry table[] = {Entry<ClassFactory, IClassFactory>(), EndOfInterfaces};
        return table;
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        try {
            return m_create(riid, ppv);
        } catch (...) {
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

} // namespace

HRESULT GetClassFactory(CreateInstanceFn create, REFIID riid, void** ppv)
{
    return CreateObject<ClassFactory>(riid, ppv, create);
}

} // namespace comkit
