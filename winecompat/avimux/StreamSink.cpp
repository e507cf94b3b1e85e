#include "StreamSink.h"

HRESULT StreamSink::WriteAt(ULONGLONG offset, const void* data, DWORD size)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    HRESULT hr = m_stream->Seek(position, STREAM_SEEK_SET, nullptr);
    ULONG done = 0;
    if (SUCCEEDED(hr))
        hr = m_stream->Write(data, size, &done);
    // A stream reports a full disk as STG_E_MEDIUMFULL or a short write; the graph hears
    // the Win32 code, as from the platform's writer.
    if ((SUCCEEDED(hr) && done != size) || hr == STG_E_MEDIUMFULL)
        hr = HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    return hr;
}

HRESULT StreamSink::Truncate(ULONGLONG size)
{
    ULARGE_INTEGER end;
    end.QuadPart = size;
    return m_stream->SetSize(end);
}
