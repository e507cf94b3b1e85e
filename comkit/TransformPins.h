// The transform filter's two pins (TransformFilter.h): each hands its decisions to the
// filter, which sees both connections.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "comkit/InputPinBase.h"
#include "comkit/OutputPinBase.h"
#include "comkit/Unknown.h"

namespace comkit
{

class TransformFilter;

class TransformInputPin : public InputPinBase
{
public:
    explicit TransformInputPin(TransformFilter& filter);

    static const InterfaceEntry* Interfaces();

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;

    HRESULT CopyType(MediaType* type) { return ConnectionType(type); }
    using InputPinBase::CheckStreaming;

private:
    HRESULT OnEndOfStream() override;
    void OnBeginFlush() override;
    void OnEndFlush() override;

    TransformFilter& m_transform;
};

class TransformOutputPin : public OutputPinBase
{
public:
    explicit TransformOutputPin(TransformFilter& filter);

    static const InterfaceEntry* Interfaces();

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;

    HRESULT CopyType(MediaType* type) { return ConnectionType(type); }

private:
    HRESULT OfferedTypes(std::vector<MediaType>* types) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request) override;

    TransformFilter& m_transform;
};

}  // namespace comkit
