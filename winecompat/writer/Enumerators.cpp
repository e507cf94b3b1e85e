#include "Enumerators.h"

#include <wrl/client.h>

#include <new>

#include "../ModuleLife.h"

using Microsoft::WRL::ComPtr;

namespace {

template <class Interface>
class RefCounted : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
            *ppv = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }
    virtual ~RefCounted() = default;

private:
    ModuleObjectCount m_count;
    volatile LONG m_refs = 1;
};

class SinglePinEnum final : public RefCounted<IEnumPins> {
public:
    SinglePinEnum(IPin* pin, ULONG position) : m_pin(pin), m_position(position) {}

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        if (count > 0 && m_position == 0) {
            pins[0] = m_pin.Get();
            pins[0]->AddRef();
            given = 1;
            m_position = 1;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        ULONG before = m_position;
        m_position = (count == 0 && before == 0) ? 0 : 1;
        return before + count <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override { return CreateSinglePinEnum(m_pin.Get(), m_position, out); }

private:
    ComPtr<IPin> m_pin;
    ULONG m_position;
};

class EmptyMediaTypeEnum final : public RefCounted<IEnumMediaTypes> {
public:
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override
    {
        if (!types || (count > 1 && !fetched))
            return E_POINTER;
        if (fetched)
            *fetched = 0;
        return count == 0 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }
    STDMETHODIMP Reset() override { return S_OK; }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override { return CreateEmptyMediaTypeEnum(out); }
};

}  // namespace

HRESULT CreateSinglePinEnum(IPin* pin, ULONG position, IEnumPins** out)
{
    if (!out)
        return E_POINTER;
    *out = new (std::nothrow) SinglePinEnum(pin, position);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateEmptyMediaTypeEnum(IEnumMediaTypes** out)
{
    if (!out)
        return E_POINTER;
    *out = new (std::nothrow) EmptyMediaTypeEnum;
    return *out ? S_OK : E_OUTOFMEMORY;
}
