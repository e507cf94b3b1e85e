// One enumerator for the IEnumXxx interfaces DirectShow asks for (IEnumPins,
// IEnumMediaTypes): a snapshot of items, shared by clones, handed out in order.
//
// `Items` describes what is enumerated:
//   using Interface = IEnumPins;            the enumerator interface
//   using Out = IPin*;                      what Next fills in
//   using Stored = ComPtr<IPin>;            what the snapshot keeps
//   static HRESULT HandOut(const Stored&, Out*);   a reference or copy for the caller
//   static void TakeBack(Out);                      undoes HandOut when Next fails half way
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

#include "comkit/MediaType.h"
#include "comkit/Unknown.h"

namespace comkit
{

template <class Items>
class Enumerator : public Items::Interface
{
public:
    using Interface = typename Items::Interface;
    using Out = typename Items::Out;
    using List = std::vector<typename Items::Stored>;

    // `owner` is kept alive while the enumerator lives (the pin or filter it lists).
    Enumerator(IUnknown* owner, std::shared_ptr<const List> items, size_t position)
        : m_owner(owner),
          m_items(std::move(items)),
          m_position(position)
    {
    }

    static const InterfaceEntry* Interfaces() { return InterfaceTable<Enumerator, Is<Interface>>(); }

    STDMETHODIMP Next(ULONG count, Out* out, ULONG* fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG done = 0;
        for (; done < count && m_position < m_items->size(); ++done, ++m_position)
        {
            const HRESULT hr = Items::HandOut((*m_items)[m_position], &out[done]);
            if (FAILED(hr))
            {
                TakeBack(out, done);
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
        const size_t left = m_items->size() - m_position;
        if (count > left)
        {
            m_position = m_items->size();
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

    STDMETHODIMP Clone(Interface** clone) override
    {
        if (!clone)
            return E_POINTER;
        return CreateObject<Enumerator>(IID_PPV_ARGS(clone), m_owner.Get(), m_items, m_position);
    }

protected:
    ~Enumerator() = default;

private:
    void TakeBack(Out* out, ULONG count)
    {
        for (ULONG i = 0; i < count; ++i)
        {
            Items::TakeBack(out[i]);
            out[i] = nullptr;
            --m_position;
        }
    }

    Microsoft::WRL::ComPtr<IUnknown> m_owner;
    std::shared_ptr<const List> m_items;
    size_t m_position;
};

struct PinItems
{
    using Interface = IEnumPins;
    using Out = IPin*;
    using Stored = Microsoft::WRL::ComPtr<IPin>;
    static HRESULT HandOut(const Stored& pin, IPin** out)
    {
        *out = Stored(pin).Detach();
        return S_OK;
    }
    static void TakeBack(IPin* pin) { pin->Release(); }
};

struct MediaTypeItems
{
    using Interface = IEnumMediaTypes;
    using Out = AM_MEDIA_TYPE*;
    using Stored = MediaType;
    static HRESULT HandOut(const MediaType& type, AM_MEDIA_TYPE** out)
    {
        return CreateMediaType(type.Get(), out);
    }
    static void TakeBack(AM_MEDIA_TYPE* type) { DeleteMediaType(type); }
};

// IEnumPins over `pins`, keeping `owner` (the filter) alive.
HRESULT CreatePinEnumerator(IUnknown* owner, std::vector<Microsoft::WRL::ComPtr<IPin>> pins, IEnumPins** out);
// IEnumMediaTypes over `types`, keeping `owner` (the pin) alive.
HRESULT CreateMediaTypeEnumerator(IUnknown* owner, std::vector<MediaType> types, IEnumMediaTypes** out);

}  // namespace comkit
