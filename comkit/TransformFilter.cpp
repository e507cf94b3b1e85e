#include "comkit/TransformFilter.h"

#include <cstring>

namespace comkit
{

namespace
{

// The sample's times, flags and media type go with the transformed data.
void CopySampleProperties(IMediaSample* in, IMediaSample* out)
{
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT timed = in->GetTime(&start, &stop);
    if (SUCCEEDED(timed))
        out->SetTime(&start, timed == VFW_S_NO_STOP_TIME ? nullptr : &stop);
    else
        out->SetTime(nullptr, nullptr);
    LONGLONG mediaStart = 0, mediaStop = 0;
    if (in->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        out->SetMediaTime(&mediaStart, &mediaStop);
    else
        out->SetMediaTime(nullptr, nullptr);
    out->SetSyncPoint(in->IsSyncPoint() == S_OK);
    out->SetPreroll(in->IsPreroll() == S_OK);
    out->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
}

bool SameType(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b)
{
    return a.majortype == b.majortype && a.subtype == b.subtype && a.formattype == b.formattype &&
           a.cbFormat == b.cbFormat && (a.cbFormat == 0 || memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0);
}

}  // namespace

TransformFilter::TransformFilter(const CLSID& clsid) : FilterBase(clsid), m_input(*this), m_output(*this)
{
}

PinBase* TransformFilter::PinAt(size_t index)
{
    if (index == 0)
        return &m_input;
    return index == 1 ? &m_output : nullptr;
}

HRESULT TransformFilter::CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output)
{
    std::vector<MediaType> offered;
    const HRESULT hr = OutputTypes(input, &offered);
    if (FAILED(hr))
        return hr;
    for (const MediaType& type : offered)
    {
        if (SameType(type.Get(), output))
            return S_OK;
    }
    return S_FALSE;
}

HRESULT TransformFilter::AcceptInput(const AM_MEDIA_TYPE& input)
{
    try
    {
        if (CheckInputType(input) != S_OK)
            return S_FALSE;
        MediaType output;
        HRESULT hr = m_output.CopyType(&output);
        if (SUCCEEDED(hr) && m_output.IsConnected())
            hr = CheckTransform(input, output.Get());
        return hr == S_OK ? S_OK : S_FALSE;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT TransformFilter::AcceptOutput(const AM_MEDIA_TYPE& output)
{
    try
    {
        MediaType input;
        const HRESULT hr = m_input.CopyType(&input);
        if (FAILED(hr) || !m_input.IsConnected())
            return S_FALSE;
        return CheckTransform(input.Get(), output) == S_OK ? S_OK : S_FALSE;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT TransformFilter::OfferOutput(std::vector<MediaType>* types)
{
    MediaType input;
    const HRESULT hr = m_input.CopyType(&input);
    if (FAILED(hr))
        return hr;
    if (!m_input.IsConnected())
        return S_OK;  // nothing to offer before the input is known
    return OutputTypes(input.Get(), types);
}

HRESULT TransformFilter::OnPause(FILTER_STATE from)
{
    if (from != State_Stopped)
        return S_OK;
    HRESULT hr = m_output.Commit();
    if (FAILED(hr))
        return hr;
    Lock stream(m_streamLock);
    try
    {
        hr = OnStreamStart();
    }
    catch (...)
    {
        hr = E_OUTOFMEMORY;
    }
    return hr;
}

// Decommitting first wakes a sample waiting for a buffer; the stream lock then waits for
// the one in flight.
void TransformFilter::OnStop()
{
    m_output.Decommit();
    Lock stream(m_streamLock);
    try
    {
        OnStreamEnd();
    }
    catch (...)
    {
    }
}

HRESULT TransformFilter::ReceiveSample(IMediaSample* in)
{
    Lock stream(m_streamLock);
    HRESULT hr = m_input.CheckStreaming();
    if (hr != S_OK)
        return hr;
    if (!m_output.IsConnected())
        return VFW_E_NOT_CONNECTED;
    Microsoft::WRL::ComPtr<IMediaSample> out;
    hr = m_output.GetDeliveryBuffer(&out);
    if (FAILED(hr))
        return hr;
    CopySampleProperties(in, out.Get());
    hr = TransformInto(in, out.Get());
    if (hr == S_FALSE)
        return S_OK;  // dropped
    return FAILED(hr) ? hr : m_output.Deliver(out.Get());
}

HRESULT TransformFilter::TransformInto(IMediaSample* in, IMediaSample* out)
{
    try
    {
        return Transform(in, out);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT TransformFilter::EndOfStream()
{
    Lock stream(m_streamLock);
    return m_output.IsConnected() ? m_output.DeliverEndOfStream() : S_OK;
}

// Passed on without the stream lock: downstream's flush is what frees a sample of ours
// blocked there.
void TransformFilter::BeginFlush()
{
    if (m_output.IsConnected())
        m_output.DeliverBeginFlush();
}

void TransformFilter::EndFlush()
{
    Lock stream(m_streamLock);
    if (m_output.IsConnected())
        m_output.DeliverEndFlush();
}

}  // namespace comkit
