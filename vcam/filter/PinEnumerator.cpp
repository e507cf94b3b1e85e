#include "vcam/filter/PinEnumerator.h"

#include <new>

#include "vcam/dll/ModuleLife.h"

using Microsoft::WRL::ComPtr;

namespace {

class PinEnumerator final : public IEnumPins
{
public:
    PinEnumerator(IBaseFilter* filter, std::vector<ComPtr<IPin>> pins, size_t position)
        : m_filter(filter), m_pins(std::move(pins)), m_position(position) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IEnumPins) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IEnumPins*>(this);
        AddRef();
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }

    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && m_position < m_pins.size(); ++done, ++m_position)
            pins[done] = ComPtr<IPin>(m_pins[m_position]).Detach();
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }

    STDMETHODIMP Skip(ULONG count) override
    {
        const size_t left = m_pins.size() - m_position;
        if (count > left) {
            m_position = m_pins.size();
            return S_FALSE;
        }
        m_position += count;
        return S_OK;
    }

    STDMETHODIMP Reset() override
    {
        m_position = 0;
        return S_OK;
    }

    STDMETHODIMP Clone(IEnumPins** clone) override
    {
        if (!clone)
            return E_POINTER;
        try {
            return CreatePinEnumerator(m_filter.Get(), m_pins, m_position, clone);
        } catch (...) {
            *clone = nullptr;
            return E_OUTOFMEMORY;
        }
    }

private:
    ~PinEnumerator() = default;

    volatile LONG m_refs = 1;
    ModuleObjectCount m_count;
    ComPtr<IBaseFilter> m_filter;
    std::vector<ComPtr<IPin>> m_pins;
    size_t m_position;
};

} // namespace

HRESULT CreatePinEnumerator(IBaseFilter* filter, std::vector<ComPtr<IPin>> pins, size_t position,
                            IEnumPins** out)
{
    *out = new (std::nothrow) PinEnumerator(filter, std::move(pins), position);
    return *out ? S_OK : E_OUTOFMEMORY;
}
