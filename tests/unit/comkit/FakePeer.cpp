#include "FakePeer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "comkit/Enumerator.h"

using Microsoft::WRL::ComPtr;

namespace fake
{

const GUID A = {0x41, 0, 0, {0}};
const GUID B = {0x42, 0, 0, {0}};
const GUID C = {0x43, 0, 0, {0}};
const GUID D = {0x44, 0, 0, {0}};

char Letter(const GUID& subtype)
{
    return subtype.Data1 >= 'A' && subtype.Data1 <= 'Z' ? static_cast<char>(subtype.Data1) : '?';
}

comkit::MediaType Type(const GUID& subtype, ULONG formatBytes)
{
    comkit::MediaType type;
    type.Edit().majortype = MEDIATYPE_Video;
    type.Edit().subtype = subtype;
    if (formatBytes)
    {
        auto* block = static_cast<BYTE*>(CoTaskMemAlloc(formatBytes));
        FillMemory(block, formatBytes, static_cast<BYTE>(subtype.Data1));
        type.SetFormat(FORMAT_None, block, formatBytes);
    }
    return type;
}

const comkit::InterfaceEntry* Peer::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<Peer, Is<IPin>, IsIf<IMemInputPin, &Peer::OffersMemInput>>();
}

HRESULT Peer::QueryOther(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid != IID_IStream || !stream)
        return E_NOINTERFACE;
    return stream.CopyTo(reinterpret_cast<IStream**>(ppv));
}

bool Peer::Accepts(const AM_MEDIA_TYPE& type) const
{
    return std::find(accepts.begin(), accepts.end(), type.subtype) != accepts.end();
}

STDMETHODIMP Peer::ReceiveConnection(IPin* pin, const AM_MEDIA_TYPE* type)
{
    log += Letter(type->subtype);
    // The connector has recorded the connection before it asks.
    AM_MEDIA_TYPE recorded = {};
    EXPECT_EQ(S_OK, pin->ConnectionMediaType(&recorded));
    EXPECT_EQ(type->subtype, recorded.subtype);
    comkit::FreeMediaType(recorded);
    if (connector)
        return VFW_E_ALREADY_CONNECTED;
    if (!Accepts(*type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    connector = pin;
    return connected.Assign(*type);
}

STDMETHODIMP Peer::Disconnect()
{
    log += 'x';
    connector.Reset();
    connected.Clear();
    notified.Reset();
    return S_OK;
}

STDMETHODIMP Peer::ConnectedTo(IPin** pin)
{
    *pin = ComPtr<IPin>(connector).Detach();
    return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP Peer::QueryAccept(const AM_MEDIA_TYPE* type)
{
    return Accepts(*type) ? S_OK : S_FALSE;
}

STDMETHODIMP Peer::EnumMediaTypes(IEnumMediaTypes** out)
{
    return comkit::CreateMediaTypeEnumerator(static_cast<IPin*>(this), types, out);
}

STDMETHODIMP Peer::GetAllocator(IMemAllocator** allocator)
{
    *allocator = nullptr;
    if (!ownAllocator)
        return VFW_E_NO_ALLOCATOR;
    return CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(allocator));
}

STDMETHODIMP Peer::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    notified = allocator;
    return S_OK;
}

STDMETHODIMP Peer::Receive(IMediaSample* sample)
{
    Sample got;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    got.bytes.assign(data, data + sample->GetActualDataLength());
    sample->GetTime(&got.start, &got.stop);
    got.sync = sample->IsSyncPoint() == S_OK;
    received.push_back(got);
    return S_OK;
}

std::string Listed(IPin* pin)
{
    ComPtr<IEnumMediaTypes> types;
    EXPECT_EQ(S_OK, pin->EnumMediaTypes(&types));
    std::string letters;
    AM_MEDIA_TYPE* next = nullptr;
    while (types && types->Next(1, &next, nullptr) == S_OK)
    {
        letters += Letter(next->subtype);
        comkit::DeleteMediaType(next);
    }
    return letters;
}

ComPtr<IPin> MakePeer(Peer** peer)
{
    ComPtr<IPin> pin;
    EXPECT_EQ(S_OK, comkit::CreateObject<Peer>(IID_PPV_ARGS(&pin)));
    *peer = static_cast<Peer*>(pin.Get());
    return pin;
}

ComPtr<IMediaSample> MakeSample(IMemAllocator* allocator, const std::vector<BYTE>& bytes,
                                REFERENCE_TIME start, REFERENCE_TIME stop, bool sync)
{
    ComPtr<IMediaSample> sample;
    EXPECT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::copy(bytes.begin(), bytes.end(), data);
    sample->SetActualDataLength(static_cast<long>(bytes.size()));
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(sync);
    return sample;
}

}  // namespace fake
