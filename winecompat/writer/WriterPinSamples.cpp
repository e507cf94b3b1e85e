// The writer pin's sample side (IMemInputPin): a sample's start and stop times are the
// byte range it fills in the file.
#include "WriterPin.h"

#include <vfwmsgs.h>

STDMETHODIMP WriterPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    REFERENCE_TIME start = 0, stop = 0;
    BYTE* data = nullptr;
    if (sample->GetTime(&start, &stop) != S_OK || FAILED(sample->GetPointer(&data)))
        return E_INVALIDARG;
    LONG length = sample->GetActualDataLength();
    if (start < 0 || stop < start || stop - start > length)
        return E_INVALIDARG;  // never write past the sample's data
    return m_host.File().WriteAt(start, data, static_cast<ULONG>(stop - start));
}
