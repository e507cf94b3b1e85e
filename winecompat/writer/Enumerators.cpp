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

class PinEnum final : public RefCounted<IEnumPins> {
public:
    PinEnum(IPin* const* pins, ULONG count, ULONG position) : m_count(count), m_position(position)
    {
        for (ULONG i = 0; i < count; ++i)
            m_pins[i] = pins[i];
    }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        for (; given < count && m_position < m_count; ++given, ++m_position) {
            pins[given] = m_pins[m_position].Get();
            pins[given]->AddRef();
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        const ULONG left = m_count - m_position;
        m_position += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override
    {
        IPin* pins[kMaxEnumeratedPins] = {};
        for (ULONG i = 0; i < m_count; ++i)
            pins[i] = m_pins[i].Get();
        return CreatePinEnum(pins, m_count, m_position, out);
    }

private:
    ComPtr<IPin> m_pins[kMaxEnumeratedPins];
    ULONG m_count;
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
    return CreatePinEnum(&pin, 1, position, out);
}

HRESULT CreatePinEnum(IPin* const* pins, ULONG count, ULONG position, IEnumPins** out)
{
    if (!out)
        return E_POINTER;
    if (count > kMaxEnumeratedPins || position > count)
        return E_INVALIDARG;
    *out = new (std::nothrow) PinEnum(pins, count, position);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateEmptyMediaTypeEnum(IEnumMediaTypes** out)
{
    if (!out)
        return E_POINTER;
    *out = new (std::nothrow) EmptyMediaTypeEnum;
    return *out ? S_OK : E_OUTOFMEMORY;
}
