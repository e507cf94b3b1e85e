#include "comkit/Enumerator.h"

namespace comkit
{

namespace
{

template <class Items>
HRESULT CreateEnumerator(IUnknown* owner, typename Enumerator<Items>::List items,
                         typename Items::Interface** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    try
    {
        auto shared = std::make_shared<const typename Enumerator<Items>::List>(std::move(items));
        return CreateObject<Enumerator<Items>>(IID_PPV_ARGS(out), owner, std::move(shared), size_t{0});
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

}  // namespace

HRESULT CreatePinEnumerator(IUnknown* owner, std::vector<Microsoft::WRL::ComPtr<IPin>> pins, IEnumPins** out)
{
    return CreateEnumerator<PinItems>(owner, std::move(pins), out);
}

HRESULT CreateMediaTypeEnumerator(IUnknown* owner, std::vector<MediaType> types, IEnumMediaTypes** out)
{
    return CreateEnumerator<MediaTypeItems>(owner, std::move(types), out);
}

}  // namespace comkit
