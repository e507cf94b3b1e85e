// The filter and pin plumbing with a filter made here: state changes through the
// callbacks, pins that share the filter's count, connection rules of an input pin.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "comkit/FilterBase.h"
#include "comkit/PinBase.h"
#include "comkit/Unknown.h"
#include "support/CountedUnknown.h"

using Microsoft::WRL::ComPtr;

namespace
{

class StreamPin : public comkit::PinBase
{
public:
    StreamPin(comkit::FilterBase& filter, const wchar_t* name, PIN_DIRECTION direction)
        : PinBase(filter, name, direction)
    {
    }
    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<StreamPin, comkit::Is<IPin>>();
    }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override
    {
        return type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
};

// Records the callbacks it gets as letters: P(ause) R(un) S(top).
class RecordingFilter : public comkit::FilterBase
{
public:
    RecordingFilter()
        : FilterBase(CLSID_NULL),
          m_in(*this, L"in", PINDIR_INPUT),
          m_out(*this, L"out", PINDIR_OUTPUT)
    {
    }
    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<RecordingFilter, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>>();
    }
    std::string calls;
    HRESULT runResult = S_OK;

private:
    comkit::PinBase* PinAt(size_t index) override
    {
        comkit::PinBase* pins[] = {&m_in, &m_out};
        return index < 2 ? pins[index] : nullptr;
    }
    HRESULT OnPause(FILTER_STATE) override { return calls += 'P', S_OK; }
    HRESULT OnRun(REFERENCE_TIME) override { return calls += 'R', runResult; }
    void OnStop() override { calls += 'S'; }
    bool IsLiveSource() override { return true; }

    comkit::Part<StreamPin> m_in;
    comkit::Part<StreamPin> m_out;
};

ComPtr<IPin> Pin(IBaseFilter* filter, const wchar_t* id)
{
    ComPtr<IPin> pin;
    EXPECT_EQ(S_OK, filter->FindPin(id, &pin));
    return pin;
}

TEST(FilterBase, ChangesStateThroughItsCallbacks)
{
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, comkit::CreateObject<RecordingFilter>(IID_PPV_ARGS(&filter)));
    auto* recording = static_cast<RecordingFilter*>(filter.Get());
    FILTER_STATE state;
    EXPECT_EQ(S_OK, filter->Run(0));
    EXPECT_EQ(S_OK, filter->GetState(0, &state));
    EXPECT_EQ(State_Running, state);
    EXPECT_EQ(S_OK, filter->Pause());
    EXPECT_EQ(VFW_S_CANT_CUE, filter->GetState(0, &state));
    EXPECT_EQ(S_OK, filter->Stop());
    recording->runResult = E_FAIL;
    EXPECT_EQ(E_FAIL, filter->Run(0));
    EXPECT_EQ(S_OK, filter->GetState(0, &state));
    EXPECT_EQ(State_Stopped, state);
    EXPECT_EQ("PRPSPRS", recording->calls);
}

TEST(FilterBase, PinsShareTheFilterCountAndConnectByTheRules)
{
    const LONG before = comkit::ModuleLiveObjects();
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, comkit::CreateObject<RecordingFilter>(IID_PPV_ARGS(&filter)));
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, filter->EnumPins(&pins));
    ComPtr<IPin> first;
    ASSERT_EQ(S_OK, pins->Next(1, &first, nullptr));
    EXPECT_EQ(S_OK, pins->Skip(1));
    EXPECT_EQ(S_FALSE, pins->Skip(1));  // two pins
    pins.Reset();
    ComPtr<IPin> in = Pin(filter.Get(), L"in"), out = Pin(filter.Get(), L"out");
    EXPECT_EQ(first.Get(), in.Get());
    first.Reset();
    EXPECT_EQ(3u, support::ReferenceCount(filter.Get()));
    ComPtr<IPin> missing;
    EXPECT_EQ(VFW_E_NOT_FOUND, filter->FindPin(L"other", &missing));

    PIN_INFO info;
    ASSERT_EQ(S_OK, out->QueryPinInfo(&info));
    EXPECT_EQ(filter.Get(), info.pFilter);
    EXPECT_EQ(PINDIR_OUTPUT, info.dir);
    EXPECT_STREQ(L"out", info.achName);
    info.pFilter->Release();

    AM_MEDIA_TYPE video = {}, stream = {};
    video.majortype = MEDIATYPE_Video;
    stream.majortype = MEDIATYPE_Stream;
    stream.subtype = MEDIASUBTYPE_Avi;
    EXPECT_EQ(E_UNEXPECTED, out->ReceiveConnection(in.Get(), &stream));
    EXPECT_EQ(E_UNEXPECTED, in->Connect(out.Get(), &stream));
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, in->ReceiveConnection(out.Get(), &video));
    EXPECT_EQ(S_FALSE, in->Disconnect());
    ASSERT_EQ(S_OK, in->ReceiveConnection(out.Get(), &stream));
    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, in->ReceiveConnection(out.Get(), &stream));
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(S_OK, in->ConnectionMediaType(&connected));
    EXPECT_EQ(MEDIASUBTYPE_Avi, connected.subtype);
    ASSERT_EQ(S_OK, filter->Pause());
    EXPECT_EQ(VFW_E_NOT_STOPPED, in->Disconnect());
    ASSERT_EQ(S_OK, filter->Stop());
    EXPECT_EQ(S_OK, in->Disconnect());
    EXPECT_EQ(VFW_E_NOT_CONNECTED, in->ConnectionMediaType(&connected));

    in.Reset(), out.Reset(), filter.Reset();
    EXPECT_EQ(before, comkit::ModuleLiveObjects());
}

}  // namespace
