// The writer pin's IStream: the AVI mux writes its file through it, in sequence and
// seeking back for headers and index.
#include "WriterPin.h"

STDMETHODIMP WriterPin::Read(void* data, ULONG size, ULONG* read)
{
    if (!data)
        return STG_E_INVALIDPOINTER;
    return m_host.File().Read(data, size, read);
}

STDMETHODIMP WriterPin::Write(const void* data, ULONG size, ULONG* written)
{
    if (!data)
        return STG_E_INVALIDPOINTER;
    return m_host.File().Write(data, size, written);
}

STDMETHODIMP WriterPin::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position)
{
    ULONGLONG reached = 0;
    HRESULT hr = m_host.File().Seek(move.QuadPart, origin, &reached);
    if (SUCCEEDED(hr) && position)
        position->QuadPart = reached;
    return hr;
}

STDMETHODIMP WriterPin::SetSize(ULARGE_INTEGER size)
{
    return m_host.File().SetSize(size.QuadPart);
}

STDMETHODIMP WriterPin::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*)
{
    return E_NOTIMPL;
}

STDMETHODIMP WriterPin::Commit(DWORD)
{
    return S_OK;  // writes go straight to the file
}

STDMETHODIMP WriterPin::Revert()
{
    return E_NOTIMPL;
}

STDMETHODIMP WriterPin::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

STDMETHODIMP WriterPin::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

STDMETHODIMP WriterPin::Stat(STATSTG* stat, DWORD flags)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    ZeroMemory(stat, sizeof(*stat));
    ULONGLONG size = 0;
    HRESULT hr = m_host.File().Size(&size);
    if (SUCCEEDED(hr) && !(flags & STATFLAG_NONAME))
        hr = m_host.File().CopyName(&stat->pwcsName);
    if (FAILED(hr))
        return hr;
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size;
    return S_OK;
}

STDMETHODIMP WriterPin::Clone(IStream** stream)
{
    if (stream)
        *stream = nullptr;
    return E_NOTIMPL;
}
