// The output pin base against fake peers: the order in which Connect tries types, what
// a failed attempt leaves behind, both transports, and every reference let go.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "FakePeer.h"
#include "comkit/ComApartment.h"
#include "comkit/FilterBase.h"
#include "comkit/OutputPinBase.h"

using Microsoft::WRL::ComPtr;

namespace
{

class SourcePin : public comkit::OutputPinBase
{
public:
    explicit SourcePin(comkit::FilterBase& filter) : OutputPinBase(filter, L"out") {}
    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<SourcePin, comkit::Is<IPin>>();
    }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override
    {
        return std::find(takes.begin(), takes.end(), type->subtype) != takes.end() ? S_OK : S_FALSE;
    }

    std::vector<GUID> own;    // its types, preferred first
    std::vector<GUID> takes;  // what QueryAccept takes
    Transport transport = Transport::Allocator;
    std::string connectedAs;

private:
    HRESULT OfferedTypes(std::vector<comkit::MediaType>* types) override
    {
        for (const GUID& subtype : own)
            types->push_back(fake::Type(subtype));
        return S_OK;
    }
    Transport TransportKind() override { return transport; }
    HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request) override
    {
        return SizeBuffers(allocator, request, 2, 1000);
    }
    void OnConnected(const AM_MEDIA_TYPE& type) override { connectedAs = fake::Letter(type.subtype); }
};

class SourceFilter : public comkit::FilterBase
{
public:
    SourceFilter() : FilterBase(CLSID_NULL), pin(*this) {}
    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<SourceFilter, comkit::Is<IBaseFilter>>();
    }
    comkit::Part<SourcePin> pin;

private:
    comkit::PinBase* PinAt(size_t index) override { return index == 0 ? &pin : nullptr; }
};

class OutputPinBaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        live = comkit::ModuleLiveObjects();
        ASSERT_EQ(S_OK, comkit::CreateObject<SourceFilter>(IID_PPV_ARGS(&filter)));
        source = &static_cast<SourceFilter*>(filter.Get())->pin;
        source->own = {fake::A, fake::B};
        source->takes = {fake::A, fake::B, fake::C};
        peerPin = fake::MakePeer(&peer);
        peer->types.push_back(fake::Type(fake::C));
        peer->types.push_back(fake::Type(fake::D, 0));  // partial: never proposed
    }
    void TearDown() override
    {
        source->Disconnect();
        peerPin->Disconnect();
        peerPin.Reset();
        filter.Reset();
        EXPECT_EQ(live, comkit::ModuleLiveObjects());
    }

    comkit::ComApartment apartment;  // first in, last out
    LONG live = 0;
    ComPtr<IBaseFilter> filter;
    SourcePin* source = nullptr;
    fake::Peer* peer = nullptr;
    ComPtr<IPin> peerPin;
};

TEST_F(OutputPinBaseTest, TriesItsOwnTypesThenThePeers)
{
    peer->accepts = {fake::B, fake::C};
    ASSERT_EQ(S_OK, source->Connect(peerPin.Get(), nullptr));
    EXPECT_EQ("AB", peer->log);
    EXPECT_EQ("B", source->connectedAs);
    AM_MEDIA_TYPE type = {};
    ASSERT_EQ(S_OK, source->ConnectionMediaType(&type));
    EXPECT_EQ(fake::B, type.subtype);
    comkit::FreeMediaType(type);
    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, source->Connect(peerPin.Get(), nullptr));

    ASSERT_EQ(S_OK, source->Disconnect());
    peerPin->Disconnect();
    peer->log.clear();
    peer->accepts = {fake::C};
    ASSERT_EQ(S_OK, source->Connect(peerPin.Get(), nullptr));
    EXPECT_EQ("ABC", peer->log);
    EXPECT_EQ("C", source->connectedAs);
}

TEST_F(OutputPinBaseTest, APartialTypeNarrowsBothListsAndACompleteOneIsTheOnlyTry)
{
    peer->accepts = {fake::A, fake::C};
    comkit::MediaType partial = fake::Type(fake::C, 0);
    ASSERT_EQ(S_OK, source->Connect(peerPin.Get(), &partial.Get()));
    EXPECT_EQ("C", peer->log);
    source->Disconnect(), peerPin->Disconnect(), peer->log.clear();

    comkit::MediaType complete = fake::Type(fake::B);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, source->Connect(peerPin.Get(), &complete.Get()));
    EXPECT_EQ("B", peer->log);
    comkit::MediaType refusedByPin = fake::Type(fake::D);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, source->Connect(peerPin.Get(), &refusedByPin.Get()));
    EXPECT_EQ("B", peer->log);  // never proposed
}

TEST_F(OutputPinBaseTest, APeerThatRefusedIsNotDisconnected)
{
    peer->accepts = {fake::D};
    EXPECT_EQ(VFW_E_NO_ACCEPTABLE_TYPES, source->Connect(peerPin.Get(), nullptr));
    EXPECT_EQ("ABC", peer->log);  // no 'x': a connection it had elsewhere stays
    EXPECT_FALSE(source->IsConnected());
    AM_MEDIA_TYPE type = {};
    EXPECT_EQ(VFW_E_NOT_CONNECTED, source->ConnectionMediaType(&type));
}

TEST_F(OutputPinBaseTest, AFailedTransportUndoesBothSidesAndTheNextTypeIsTried)
{
    peer->accepts = {fake::A};
    peer->memInput = false;
    EXPECT_EQ(VFW_E_NO_ACCEPTABLE_TYPES, source->Connect(peerPin.Get(), nullptr));
    EXPECT_EQ("AxBC", peer->log);
    EXPECT_FALSE(source->IsConnected());

    peer->log.clear();
    source->transport = comkit::OutputPinBase::Transport::Stream;  // the peer has no IStream
    comkit::MediaType complete = fake::Type(fake::A);
    EXPECT_EQ(VFW_E_NO_TRANSPORT, source->Connect(peerPin.Get(), &complete.Get()));
    EXPECT_EQ("Ax", peer->log);
    EXPECT_FALSE(source->IsConnected());
}

TEST_F(OutputPinBaseTest, TakesThePeersStreamForTheStreamTransport)
{
    peer->accepts = {fake::A};
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &peer->stream));
    source->transport = comkit::OutputPinBase::Transport::Stream;
    ASSERT_EQ(S_OK, source->Connect(peerPin.Get(), nullptr));
    EXPECT_EQ(peer->stream.Get(), source->PeerStream().Get());
    EXPECT_EQ(nullptr, source->Allocator().Get());
    ASSERT_EQ(S_OK, source->Disconnect());
    EXPECT_EQ(nullptr, source->PeerStream().Get());
}

TEST_F(OutputPinBaseTest, SizesThePeersAllocatorOrItsOwnAndDelivers)
{
    peer->accepts = {fake::A};
    peer->request.cBuffers = 4;
    ASSERT_EQ(S_OK, source->Connect(peerPin.Get(), nullptr));  // the peer has none: ours
    ASSERT_NE(nullptr, peer->notified.Get());
    EXPECT_EQ(peer->notified.Get(), source->Allocator().Get());
    ALLOCATOR_PROPERTIES actual = {};
    ASSERT_EQ(S_OK, peer->notified->GetProperties(&actual));
    EXPECT_EQ(4, actual.cBuffers);  // the peer asked for more than 2
    EXPECT_GE(actual.cbBuffer, 1000);

    ASSERT_EQ(S_OK, source->Commit());
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(S_OK, source->GetDeliveryBuffer(&sample));
    sample->SetActualDataLength(0);
    EXPECT_EQ(S_OK, source->Deliver(sample.Get()));
    sample.Reset();
    EXPECT_EQ(S_OK, source->DeliverBeginFlush());
    EXPECT_EQ(S_OK, source->DeliverEndFlush());
    EXPECT_EQ(S_OK, source->DeliverEndOfStream());
    EXPECT_EQ(1u, peer->received.size());
    EXPECT_EQ("ABFE", peer->log);
    source->Decommit();
    EXPECT_EQ(VFW_E_NOT_COMMITTED, source->GetDeliveryBuffer(&sample));
}

TEST_F(OutputPinBaseTest, KeepsTheRulesOfConnect)
{
    peer->accepts = {fake::A};
    EXPECT_EQ(E_POINTER, source->Connect(nullptr, nullptr));
    peer->direction = PINDIR_OUTPUT;
    EXPECT_EQ(VFW_E_INVALID_DIRECTION, source->Connect(peerPin.Get(), nullptr));
    peer->direction = PINDIR_INPUT;
    ASSERT_EQ(S_OK, filter->Pause());
    EXPECT_EQ(VFW_E_NOT_STOPPED, source->Connect(peerPin.Get(), nullptr));
    ASSERT_EQ(S_OK, filter->Stop());
    EXPECT_EQ(E_UNEXPECTED, source->ReceiveConnection(peerPin.Get(), &fake::Type(fake::A).Get()));
    EXPECT_EQ("", peer->log);
    EXPECT_EQ("AB", fake::Listed(source));
}

}  // namespace
