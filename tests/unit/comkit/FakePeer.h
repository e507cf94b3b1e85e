// A peer pin for the pin bases' tests: it accepts the subtypes it is told to, lists its
// own types, offers an allocator and an IStream on request, and logs what reaches it.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "comkit/MediaType.h"
#include "comkit/Unknown.h"

namespace fake
{

// A video type told apart by its subtype, with a format block of `formatBytes` bytes
// (a complete type); without one it is partial.
comkit::MediaType Type(const GUID& subtype, ULONG formatBytes = 4);
// Subtypes used as names in the tests, and the one letter each logs as.
extern const GUID A, B, C, D;
char Letter(const GUID& subtype);

class Peer : public IPin, public IMemInputPin
{
public:
    static const comkit::InterfaceEntry* Interfaces();
    HRESULT QueryOther(REFIID riid, void** ppv);
    bool OffersMemInput() { return memInput; }

    // Settings.
    PIN_DIRECTION direction = PINDIR_INPUT;
    std::vector<GUID> accepts;               // subtypes ReceiveConnection takes
    std::vector<comkit::MediaType> types;    // what EnumMediaTypes lists
    bool memInput = true;                    // offers IMemInputPin
    bool ownAllocator = false;               // GetAllocator hands one out
    ALLOCATOR_PROPERTIES request = {};       // GetAllocatorRequirements
    Microsoft::WRL::ComPtr<IStream> stream;  // offered as IStream when set

    // What happened: "A" for a proposal of A, "x" for a Disconnect, "E" end of stream,
    // "B"/"F" begin/end flush; the samples' bytes and flags.
    std::string log;
    Microsoft::WRL::ComPtr<IPin> connector;
    comkit::MediaType connected;
    Microsoft::WRL::ComPtr<IMemAllocator> notified;
    struct Sample
    {
        std::vector<BYTE> bytes;
        REFERENCE_TIME start = 0, stop = 0;
        bool sync = false;
    };
    std::vector<Sample> received;

    // IPin
    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryPinInfo(PIN_INFO*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override { return *dir = direction, S_OK; }
    STDMETHODIMP QueryId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** out) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return log += 'E', S_OK; }
    STDMETHODIMP BeginFlush() override { return log += 'B', S_OK; }
    STDMETHODIMP EndFlush() override { return log += 'F', S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override
    {
        return *props = request, S_OK;
    }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample**, long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

private:
    bool Accepts(const AM_MEDIA_TYPE& type) const;
};

// The subtypes a pin's EnumMediaTypes lists, as letters.
std::string Listed(IPin* pin);

// A new peer, and the object behind it for its settings and log.
Microsoft::WRL::ComPtr<IPin> MakePeer(Peer** peer);

// A committed memory allocator's sample holding `bytes`, stamped start..stop.
Microsoft::WRL::ComPtr<IMediaSample> MakeSample(IMemAllocator* allocator, const std::vector<BYTE>& bytes,
                                                REFERENCE_TIME start, REFERENCE_TIME stop, bool sync);

}  // namespace fake
