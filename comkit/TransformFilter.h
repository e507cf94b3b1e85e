// A filter that makes one output sample of each input sample (a decoder, a converter),
// in the shape of Wine's strmbase transform filter. The base owns the two pins
// ("XForm In", "XForm Out"), type negotiation, the allocator handshake, flushing, end of
// stream and state. To subclass it:
//
//   class Decoder : public comkit::TransformFilter
//   {
//   public:
//       Decoder() : TransformFilter(CLSID_Decoder) {}
//       static const comkit::InterfaceEntry* Interfaces()   // IBaseFilter, IMediaFilter, IPersist
//   private:
//       HRESULT CheckInputType(const AM_MEDIA_TYPE& input) override;          // S_OK: can take it
//       HRESULT OutputTypes(const AM_MEDIA_TYPE& input,
//                           std::vector<comkit::MediaType>* types) override;  // preferred first
//       HRESULT SizeOutputBuffers(const AM_MEDIA_TYPE& output,
//                                 ALLOCATOR_PROPERTIES* properties) override;
//       HRESULT Transform(IMediaSample* in, IMediaSample* out) override;     // S_FALSE: drop it
//   };
//
// The output pin connects only once the input is connected, and offers OutputTypes of the
// input's type; it takes a type CheckTransform accepts (by default one of OutputTypes). An
// input reconnected while the output is connected must keep CheckTransform true.
// Transform gets `out` with the input's times and flags copied and sets its data length.
//
// Locks: the state lock (FilterBase) serialises state and connection changes; the stream
// lock is held through each sample, end of stream and end of flush, and by Stop once the
// output allocator is decommitted, so that Stop returns with no sample in flight; the data
// lock guards fields only and is never held while calling out. Taken in that order.
// Transform and OnStreamStart/OnStreamEnd run under the stream lock, never the data lock.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "comkit/FilterBase.h"
#include "comkit/MediaType.h"
#include "comkit/TransformPins.h"

namespace comkit
{

class TransformFilter : public FilterBase
{
protected:
    explicit TransformFilter(const CLSID& clsid);
    ~TransformFilter() = default;

    virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& input) = 0;
    virtual HRESULT OutputTypes(const AM_MEDIA_TYPE& input, std::vector<MediaType>* types) = 0;
    // S_OK when `output` can be made from `input`.
    virtual HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output);
    // `properties` holds the downstream pin's request; raise it to what one output needs.
    virtual HRESULT SizeOutputBuffers(const AM_MEDIA_TYPE& output, ALLOCATOR_PROPERTIES* properties) = 0;
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) = 0;
    // Streaming starts (paused from stopped) and ends (stopped).
    virtual HRESULT OnStreamStart() { return S_OK; }
    virtual void OnStreamEnd() {}

    // Copies of the connected types; empty while not connected.
    HRESULT InputType(MediaType* type) { return m_input.CopyType(type); }
    HRESULT OutputType(MediaType* type) { return m_output.CopyType(type); }

private:
    friend class TransformInputPin;
    friend class TransformOutputPin;

    // comkit::FilterBase
    PinBase* PinAt(size_t index) override;
    HRESULT OnPause(FILTER_STATE from) override;
    void OnStop() override;

    // From the pins.
    HRESULT AcceptInput(const AM_MEDIA_TYPE& input);
    HRESULT AcceptOutput(const AM_MEDIA_TYPE& output);
    HRESULT OfferOutput(std::vector<MediaType>* types);
    HRESULT ReceiveSample(IMediaSample* in);
    HRESULT EndOfStream();
    void BeginFlush();
    void EndFlush();
    HRESULT TransformInto(IMediaSample* in, IMediaSample* out);

    CriticalSection m_streamLock;
    Part<TransformInputPin> m_input;
    Part<TransformOutputPin> m_output;
};

}  // namespace comkit
