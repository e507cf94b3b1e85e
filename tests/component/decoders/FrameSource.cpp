#include "FrameSource.h"

#include <cstring>

#include "comkit/FilterBase.h"
#include "comkit/OutputPinBase.h"
#include "comkit/Unknown.h"

namespace testsource
{

namespace
{

// {8E6B6E0B-3C2A-4A7E-9E55-6D1C0A4F2B91}
const CLSID CLSID_TestFrameSource = {
    0x8e6b6e0b, 0x3c2a, 0x4a7e, {0x9e, 0x55, 0x6d, 0x1c, 0x0a, 0x4f, 0x2b, 0x91}};

class SourcePin : public comkit::OutputPinBase
{
public:
    SourcePin(comkit::FilterBase& filter, const comkit::MediaType& type)
        : OutputPinBase(filter, L"Out"),
          m_type(type)
    {
    }

    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<SourcePin, comkit::Is<IPin>>();
    }

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override
    {
        return type && type->subtype == m_type.Get().subtype ? S_OK : S_FALSE;
    }

private:
    HRESULT OfferedTypes(std::vector<comkit::MediaType>* types) override
    {
        types->assign(1, m_type);
        return S_OK;
    }

    HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request) override
    {
        return SizeBuffers(allocator, request, 2, static_cast<long>(m_type.Get().lSampleSize));
    }

    const comkit::MediaType m_type;
};

}  // namespace

class FrameSource : public comkit::FilterBase
{
public:
    explicit FrameSource(const comkit::MediaType& type)
        : FilterBase(CLSID_TestFrameSource),
          m_pin(*this, type)
    {
    }

    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<FrameSource, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>,
                              As<IBaseFilter, IPersist>>();
    }

    HRESULT Send(const std::vector<BYTE>& frame, REFERENCE_TIME start, REFERENCE_TIME stop)
    {
        Microsoft::WRL::ComPtr<IMediaSample> sample;
        HRESULT hr = m_pin.GetDeliveryBuffer(&sample);
        BYTE* data = nullptr;
        if (SUCCEEDED(hr))
            hr = sample->GetPointer(&data);
        if (SUCCEEDED(hr) && static_cast<size_t>(sample->GetSize()) < frame.size())
            hr = E_OUTOFMEMORY;
        if (FAILED(hr))
            return hr;
        memcpy(data, frame.data(), frame.size());
        sample->SetActualDataLength(static_cast<long>(frame.size()));
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        return m_pin.Deliver(sample.Get());
    }

private:
    comkit::PinBase* PinAt(size_t index) override { return index == 0 ? &m_pin : nullptr; }
    HRESULT OnPause(FILTER_STATE from) override { return from == State_Stopped ? m_pin.Commit() : S_OK; }
    void OnStop() override { m_pin.Decommit(); }

    comkit::Part<SourcePin> m_pin;
};

comkit::MediaType VideoType(DWORD fourcc, LONG width, LONG height, WORD bitCount, DWORD frameBytes)
{
    comkit::MediaType type;
    auto* format = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!format)
        return type;
    *format = VIDEOINFOHEADER{};
    format->AvgTimePerFrame = 333333;
    format->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format->bmiHeader.biWidth = width;
    format->bmiHeader.biHeight = height;
    format->bmiHeader.biPlanes = 1;
    format->bmiHeader.biBitCount = bitCount;
    format->bmiHeader.biCompression = fourcc;
    format->bmiHeader.biSizeImage = frameBytes;
    AM_MEDIA_TYPE& mt = type.Edit();
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_YUY2;  // the FOURCC GUID pattern
    mt.subtype.Data1 = fourcc;
    mt.lSampleSize = frameBytes;
    type.SetFormat(FORMAT_VideoInfo, reinterpret_cast<BYTE*>(format), sizeof(VIDEOINFOHEADER));
    return type;
}

HRESULT CreateFrameSource(const comkit::MediaType& type, Microsoft::WRL::ComPtr<IBaseFilter>* filter,
                          FrameSource** source)
{
    HRESULT hr = comkit::CreateObject<FrameSource>(IID_PPV_ARGS(filter->ReleaseAndGetAddressOf()), type);
    *source = SUCCEEDED(hr) ? static_cast<FrameSource*>(filter->Get()) : nullptr;
    return hr;
}

HRESULT SendFrame(FrameSource* source, const std::vector<BYTE>& frame, REFERENCE_TIME start,
                  REFERENCE_TIME stop)
{
    return source->Send(frame, start, stop);
}

}  // namespace testsource
