// The mux's two pins on comkit's pin bases: video in (IMemInputPin), and the AVI byte
// stream out to a file writer whose input pin offers IStream. Both are parts of the filter.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include <vector>

#include "comkit/InputPinBase.h"
#include "comkit/MediaType.h"
#include "comkit/OutputPinBase.h"
#include "comkit/Unknown.h"

// What the input pin hands to its filter.
class MuxStreamHost
{
public:
    virtual HRESULT OnFrame(IMediaSample* sample) = 0;
    virtual HRESULT OnEndOfStream() = 0;

protected:
    ~MuxStreamHost() = default;
};

// Takes video described by a BITMAPINFOHEADER (VIDEOINFOHEADER or VIDEOINFOHEADER2), and
// can be connected again after a disconnection (Wine's mux could not).
class MuxInputPin : public comkit::InputPinBase
{
public:
    MuxInputPin(comkit::FilterBase& filter, MuxStreamHost& host)
        : InputPinBase(filter, L"Input 01"),
          m_host(host)
    {
    }

    static const comkit::InterfaceEntry* Interfaces();

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;

    // The connected type, for the file's headers; empty when not connected.
    HRESULT CopyType(comkit::MediaType* type) { return ConnectionType(type); }

private:
    HRESULT OnEndOfStream() override { return m_host.OnEndOfStream(); }

    MuxStreamHost& m_host;
};

// Writes through the IStream of the peer pin, so that headers and indexes can be
// rewritten in place.
class MuxOutputPin : public comkit::OutputPinBase
{
public:
    explicit MuxOutputPin(comkit::FilterBase& filter) : OutputPinBase(filter, L"AVI Out") {}

    static const comkit::InterfaceEntry* Interfaces();

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;

private:
    HRESULT OfferedTypes(std::vector<comkit::MediaType>* types) override;
    Transport TransportKind() override { return Transport::Stream; }
};
