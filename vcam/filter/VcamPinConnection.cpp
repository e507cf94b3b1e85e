// Connecting the pin: media type negotiation and the allocator.
#include "vcam/filter/VcamPin.h"

#include <algorithm>

#include "vcam/filter/VcamFilter.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Room for the renderer to hold a frame while the next one is drawn.
constexpr long MinBuffers = 3;

}  // namespace

STDMETHODIMP VcamPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* pmt)
{
    if (!receivePin)
        return E_POINTER;
    try
    {
        comkit::Lock state(m_filter.StateLock());
        if (IsConnected())
            return VFW_E_ALREADY_CONNECTED;
        if (m_filter.State() != State_Stopped)
            return VFW_E_NOT_STOPPED;
        PIN_DIRECTION direction;
        if (FAILED(receivePin->QueryDirection(&direction)) || direction != PINDIR_INPUT)
            return VFW_E_INVALID_DIRECTION;
        if (pmt && comkit::IsCompleteType(*pmt))
            return TryConnection(receivePin, *pmt);
        if (ConnectWithTypes(receivePin, pmt) == S_OK)
            return S_OK;
        if (ConnectWithPeerTypes(receivePin, pmt) == S_OK)
            return S_OK;
        return VFW_E_NO_ACCEPTABLE_TYPES;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

void VcamPin::OnDisconnect()
{
    if (m_allocator)
        m_allocator->Decommit();
    DropConnection();
}

// Our own types first: the current format is what the camera is set to deliver.
HRESULT VcamPin::ConnectWithTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial)
{
    std::vector<comkit::MediaType> types;
    {
        comkit::Lock data(m_filter.DataLock());
        const HRESULT hr = m_formats.ConnectionTypes(&types);
        if (FAILED(hr))
            return hr;
    }
    for (const comkit::MediaType& type : types)
    {
        if (comkit::MatchesPartialType(partial, type.Get()) && TryConnection(receivePin, type.Get()) == S_OK)
            return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT VcamPin::ConnectWithPeerTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial)
{
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(receivePin->EnumMediaTypes(&types)) || !types)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    AM_MEDIA_TYPE* next = nullptr;
    while (types->Next(1, &next, nullptr) == S_OK && next)
    {
        comkit::TaskMediaType candidate(next);
        if (comkit::IsCompleteType(*candidate) && comkit::MatchesPartialType(partial, *candidate) &&
            TryConnection(receivePin, *candidate) == S_OK)
            return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT VcamPin::TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& proposed)
{
    VideoMode mode;
    {
        comkit::Lock data(m_filter.DataLock());
        if (!m_formats.Accept(proposed, &mode))
            return VFW_E_TYPE_NOT_ACCEPTED;
    }
    // The type we deliver is always our own rendering of the agreed format, so that
    // biSizeImage and AvgTimePerFrame are filled in whatever the proposal left out.
    comkit::MediaType mt;
    HRESULT hr = m_formats.TypeFor(mode, proposed.formattype == FORMAT_VideoInfo2, &mt);
    if (FAILED(hr))
        return hr;
    // The peer may query the connection while it accepts it.
    hr = SetConnection(receivePin, mt.Get());
    if (FAILED(hr))
        return hr;
    hr = receivePin->ReceiveConnection(this, &mt.Get());
    if (FAILED(hr))
    {
        DropConnection();
        return hr;
    }
    ComPtr<IMemInputPin> input;
    hr = receivePin->QueryInterface(IID_PPV_ARGS(&input));
    if (SUCCEEDED(hr))
        hr = DecideAllocator(input.Get(), ImageSize(mode.format));
    if (FAILED(hr))
    {
        receivePin->Disconnect();
        DropConnection();
        return hr;
    }
    comkit::Lock data(m_filter.DataLock());
    m_input = input;
    m_formats.Follow(mode);
    return S_OK;
}

HRESULT VcamPin::DecideAllocator(IMemInputPin* input, LONG imageSize)
{
    ALLOCATOR_PROPERTIES request = {};
    input->GetAllocatorRequirements(&request);
    ComPtr<IMemAllocator> allocator;
    if (SUCCEEDED(input->GetAllocator(&allocator)) && allocator)
    {
        if (SUCCEEDED(ConfigureAllocator(allocator.Get(), request, imageSize)) &&
            SUCCEEDED(input->NotifyAllocator(allocator.Get(), FALSE)))
        {
            comkit::Lock data(m_filter.DataLock());
            m_allocator = allocator;
            return S_OK;
        }
        allocator.Reset();
    }
    HRESULT hr =
        CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&allocator));
    if (FAILED(hr))
        return hr;
    hr = ConfigureAllocator(allocator.Get(), request, imageSize);
    if (FAILED(hr))
        return hr;
    hr = input->NotifyAllocator(allocator.Get(), FALSE);
    if (FAILED(hr))
        return hr;
    comkit::Lock data(m_filter.DataLock());
    m_allocator = allocator;
    return S_OK;
}

// Buffers of exactly one image, unless the peer asks for more.
HRESULT VcamPin::ConfigureAllocator(IMemAllocator* allocator, ALLOCATOR_PROPERTIES request, LONG imageSize)
{
    ALLOCATOR_PROPERTIES wanted = request;
    wanted.cBuffers = std::max(request.cBuffers, MinBuffers);
    wanted.cbBuffer = std::max(request.cbBuffer, imageSize);
    wanted.cbAlign = std::max(request.cbAlign, 1L);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= imageSize && actual.cBuffers > 0 ? S_OK : VFW_E_SIZENOTSET;
}

void VcamPin::DropConnection()
{
    comkit::Lock data(m_filter.DataLock());
    ClearConnection();
    m_input.Reset();
    m_allocator.Reset();
}
