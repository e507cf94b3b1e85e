#include "comkit/TransformPins.h"

#include "comkit/TransformFilter.h"

namespace comkit
{

TransformInputPin::TransformInputPin(TransformFilter& filter)
    : InputPinBase(filter, L"XForm In"),
      m_transform(filter)
{
}

const InterfaceEntry* TransformInputPin::Interfaces()
{
    return InterfaceTable<TransformInputPin, Is<IPin>, Is<IMemInputPin>>();
}

STDMETHODIMP TransformInputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    return m_transform.AcceptInput(*type);
}

STDMETHODIMP TransformInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return m_transform.ReceiveSample(sample);
}

HRESULT TransformInputPin::OnEndOfStream()
{
    return m_transform.EndOfStream();
}

void TransformInputPin::OnBeginFlush()
{
    m_transform.BeginFlush();
}

void TransformInputPin::OnEndFlush()
{
    m_transform.EndFlush();
}

TransformOutputPin::TransformOutputPin(TransformFilter& filter)
    : OutputPinBase(filter, L"XForm Out"),
      m_transform(filter)
{
}

const InterfaceEntry* TransformOutputPin::Interfaces()
{
    return InterfaceTable<TransformOutputPin, Is<IPin>>();
}

STDMETHODIMP TransformOutputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    return m_transform.AcceptOutput(*type);
}

HRESULT TransformOutputPin::OfferedTypes(std::vector<MediaType>* types)
{
    return m_transform.OfferOutput(types);
}

HRESULT TransformOutputPin::DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request)
{
    MediaType output;
    HRESULT hr = ConnectionType(&output);
    ALLOCATOR_PROPERTIES wanted = request;
    if (SUCCEEDED(hr))
        hr = m_transform.SizeOutputBuffers(output.Get(), &wanted);
    return FAILED(hr) ? hr : SizeBuffers(allocator, request, wanted.cBuffers, wanted.cbBuffer);
}

}  // namespace comkit
