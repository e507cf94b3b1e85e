#include "vcam/filter/MediaTypeEnumerator.h"

#include <wrl/client.h>
#include <new>

#include "vcam/dll/ModuleLife.h"

using Microsoft::WRL::ComPtr;

namespace {

class MediaTypeEnumerator final : public IEnumMediaTypes
{
public:
    MediaTypeEnumerator(IUnknown* owner, std::vector<MediaType> types, size_t position)
        : m_owner(owner), m_types(std::move(types)), m_position(position) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IEnumMediaTypes) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IEnumMediaTypes*>(this);
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

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override
    {
        if (!types || (count > 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && m_position < m_types.size(); ++done, ++m_position) {
            const HRESULT hr = NewTaskMediaType(m_types[m_position].Get(), &types[done]);
            if (FAILED(hr)) {
                ReturnTypes(types, done);
                if (fetched)
                    *fetched = 0;
                return hr;
            }
        }
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }

    STDMETHODIMP Skip(ULONG count) override
    {
        const size_t left = m_types.size() - m_position;
        if (count > left) {
            m_position = m_types.size();
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

    STDMETHODIMP Clone(IEnumMediaTypes** clone) override
    {
        if (!clone)
            return E_POINTER;
        try {
            return CreateMediaTypeEnumerator(m_owner.Get(), m_types, m_position, clone);
        } catch (...) {
            *clone = nullptr;
            return E_OUTOFMEMORY;
        }
    }

private:
    ~MediaTypeEnumerator() = default;

    void ReturnTypes(AM_MEDIA_TYPE** types, ULONG count)
    {
        for (ULONG i = 0; i < count; ++i) {
            DeleteTaskMediaType(types[i]);
            types[i] = nullptr;
            --m_position;
        }
    }

    volatile LONG m_refs = 1;
    ModuleObjectCount m_count;
    ComPtr<IUnknown> m_owner;
    std::vector<MediaType> m_types;
    size_t m_position;
};

} // namespace

HRESULT CreateMediaTypeEnumerator(IUnknown* owner, std::vector<MediaType> types, size_t position,
                                  IEnumMediaTypes** out)
{
    *out = new (std::nothrow) MediaTypeEnumerator(owner, std::move(types), position);
    return *out ? S_OK : E_OUTOFMEMORY;
}
