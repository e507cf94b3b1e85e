// The transform filter base with a filter made here that inverts bytes: types negotiated
// through the filter, samples transformed with their times and flags, flushing and end
// of stream passed on in order, and the state callbacks.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "FakePeer.h"
#include "comkit/ComApartment.h"
#include "comkit/TransformFilter.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Takes A (made into C or D) and B (made into C only); drops samples starting with 0.
class Inverter : public comkit::TransformFilter
{
public:
    Inverter() : TransformFilter(CLSID_NULL) {}
    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<Inverter, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>>();
    }
    std::string calls;  // s(tart), e(nd) of streaming

private:
    HRESULT CheckInputType(const AM_MEDIA_TYPE& input) override
    {
        return input.subtype == fake::A || input.subtype == fake::B ? S_OK : S_FALSE;
    }
    HRESULT OutputTypes(const AM_MEDIA_TYPE& input, std::vector<comkit::MediaType>* types) override
    {
        types->push_back(fake::Type(fake::C));
        if (input.subtype == fake::A)
            types->push_back(fake::Type(fake::D));
        return S_OK;
    }
    HRESULT SizeOutputBuffers(const AM_MEDIA_TYPE&, ALLOCATOR_PROPERTIES* properties) override
    {
        properties->cbBuffer = 64;
        properties->cBuffers = 1;
        return S_OK;
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE *from = nullptr, *to = nullptr;
        in->GetPointer(&from);
        out->GetPointer(&to);
        const long length = in->GetActualDataLength();
        if (length > 0 && from[0] == 0)
            return S_FALSE;
        for (long i = 0; i < length; ++i)
            to[i] = static_cast<BYTE>(~from[i]);
        return out->SetActualDataLength(length);
    }
    HRESULT OnStreamStart() override { return calls += 's', S_OK; }
    void OnStreamEnd() override { calls += 'e'; }
};

class TransformFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        live = comkit::ModuleLiveObjects();
        ASSERT_EQ(S_OK, comkit::CreateObject<Inverter>(IID_PPV_ARGS(&filter)));
        ASSERT_EQ(S_OK, filter->FindPin(L"XForm In", &in));
        ASSERT_EQ(S_OK, filter->FindPin(L"XForm Out", &out));
        upstreamPin = fake::MakePeer(&upstream);
        upstream->direction = PINDIR_OUTPUT;
        downstreamPin = fake::MakePeer(&downstream);
        downstream->accepts = {fake::D};
    }
    void TearDown() override
    {
        filter->Stop();
        in->Disconnect(), out->Disconnect(), downstreamPin->Disconnect();
        in.Reset(), out.Reset(), filter.Reset(), upstreamPin.Reset(), downstreamPin.Reset();
        EXPECT_EQ(live, comkit::ModuleLiveObjects());
    }
    HRESULT ConnectInput(const GUID& subtype)
    {
        return in->ReceiveConnection(upstreamPin.Get(), &fake::Type(subtype).Get());
    }
    // Input A, output D, paused, and an allocator for the samples sent in.
    void Stream()
    {
        ASSERT_EQ(S_OK, ConnectInput(fake::A));
        ASSERT_EQ(S_OK, out->Connect(downstreamPin.Get(), nullptr));
        ASSERT_EQ(S_OK, filter->Pause());
        ComPtr<IMemInputPin> input;
        ASSERT_EQ(S_OK, in.As(&input));
        ASSERT_EQ(S_OK, input->GetAllocator(&allocator));
        ALLOCATOR_PROPERTIES wanted = {2, 16, 1, 0}, actual = {};
        ASSERT_EQ(S_OK, allocator->SetProperties(&wanted, &actual));
        ASSERT_EQ(S_OK, allocator->Commit());
    }
    HRESULT Send(std::vector<BYTE> bytes)
    {
        ComPtr<IMemInputPin> input;
        in.As(&input);
        return input->Receive(fake::MakeSample(allocator.Get(), bytes, 10, 20, true).Get());
    }

    comkit::ComApartment apartment;  // first in, last out
    LONG live = 0;
    ComPtr<IBaseFilter> filter;
    ComPtr<IPin> in, out, upstreamPin, downstreamPin;
    fake::Peer *upstream = nullptr, *downstream = nullptr;
    ComPtr<IMemAllocator> allocator;
};

TEST_F(TransformFilterTest, NegotiatesTheOutputFromTheConnectedInput)
{
    EXPECT_EQ("", fake::Listed(out.Get()));  // nothing before the input is known
    EXPECT_EQ(VFW_E_NO_ACCEPTABLE_TYPES, out->Connect(downstreamPin.Get(), nullptr));
    EXPECT_EQ("", downstream->log);

    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, ConnectInput(fake::C));
    ASSERT_EQ(S_OK, ConnectInput(fake::A));
    EXPECT_EQ("CD", fake::Listed(out.Get()));
    ASSERT_EQ(S_OK, out->Connect(downstreamPin.Get(), nullptr));
    EXPECT_EQ("CD", downstream->log);
    EXPECT_EQ(S_OK, out->QueryAccept(&fake::Type(fake::C).Get()));
    EXPECT_EQ(S_FALSE, out->QueryAccept(&fake::Type(fake::A).Get()));
    EXPECT_EQ(S_FALSE, out->QueryAccept(&fake::Type(fake::D, 8).Get()));  // another format block

    // B cannot make the D the output is connected with.
    ASSERT_EQ(S_OK, in->Disconnect());
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, ConnectInput(fake::B));
    EXPECT_EQ(S_OK, ConnectInput(fake::A));

    ALLOCATOR_PROPERTIES actual = {};
    ASSERT_NE(nullptr, downstream->notified.Get());
    ASSERT_EQ(S_OK, downstream->notified->GetProperties(&actual));
    EXPECT_GE(actual.cbBuffer, 64);
}

TEST_F(TransformFilterTest, TransformsEachSampleWithItsTimesAndFlags)
{
    Stream();
    EXPECT_EQ("s", static_cast<Inverter*>(filter.Get())->calls);
    ASSERT_EQ(S_OK, Send({1, 2, 3}));
    EXPECT_EQ(S_OK, Send({0, 9}));  // dropped by the transform
    ASSERT_EQ(1u, downstream->received.size());
    const fake::Peer::Sample& got = downstream->received[0];
    EXPECT_EQ((std::vector<BYTE>{0xFE, 0xFD, 0xFC}), got.bytes);
    EXPECT_EQ(10, got.start);
    EXPECT_EQ(20, got.stop);
    EXPECT_TRUE(got.sync);

    ASSERT_EQ(S_OK, filter->Stop());
    EXPECT_EQ("se", static_cast<Inverter*>(filter.Get())->calls);
    EXPECT_EQ(VFW_E_WRONG_STATE, Send({1}));
    EXPECT_EQ(1u, downstream->received.size());
}

TEST_F(TransformFilterTest, PassesFlushAndEndOfStreamOnInOrder)
{
    Stream();
    ASSERT_EQ(S_OK, in->BeginFlush());
    EXPECT_EQ(S_FALSE, Send({1}));
    EXPECT_EQ(S_FALSE, in->EndOfStream());  // not while flushing
    ASSERT_EQ(S_OK, in->EndFlush());
    ASSERT_EQ(S_OK, Send({1}));
    ASSERT_EQ(S_OK, in->EndOfStream());
    EXPECT_EQ("CDBFE", downstream->log);  // C refused, D taken, then the stream
    EXPECT_EQ(1u, downstream->received.size());
}

}  // namespace
