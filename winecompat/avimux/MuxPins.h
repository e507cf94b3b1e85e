// The mux's two pins on comkit's PinBase: video in (IMemInputPin), and the AVI byte
// stream out to a file writer whose input pin offers IStream. Both are parts of the filter.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include "comkit/MediaType.h"
#include "comkit/InputPinBase.h"
#include "comkit/PinBase.h"
#include "comkit/Unknown.h"

// What the input pin hands to its filter.
class MuxStreamHost
{
public:
    virtual HRESULT OnFrame(IMediaSample* sample) = 0;
    virtual void OnEndOfStream() = 0;
    virtual void OnFlush(bool flushing) = 0;

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

    // IPin (the rest is comkit::PinBase's)
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // IMemInputPin (the rest is comkit::InputPinBase's)
    STDMETHODIMP Receive(IMediaSample* sample) override;

    // The connected type, for the file's headers; empty when not connected.
    HRESULT CopyType(comkit::MediaType* type) { return ConnectionType(type); }

private:
    MuxStreamHost& m_host;
};

// Writes through the IStream of the peer pin, so that headers and indexes can be
// rewritten in place.
class MuxOutputPin : public comkit::PinBase
{
public:
    explicit MuxOutputPin(comkit::FilterBase& filter) : PinBase(filter, L"AVI Out", PINDIR_OUTPUT) {}

    static const comkit::InterfaceEntry* Interfaces();

    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;

    // The writer's IStream, or null while not connected.
    Microsoft::WRL::ComPtr<IStream> Stream();
    void DeliverEndOfStream();

private:
    void OnDisconnect() override;

    Microsoft::WRL::ComPtr<IStream> m_stream;  // guarded by the filter's data lock
};
