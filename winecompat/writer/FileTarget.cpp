#include "FileTarget.h"

#include <objbase.h>

namespace
{

HRESULT LastError()
{
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

HRESULT FileTarget::SetName(LPCWSTR name)
{
    LPWSTR copy = nullptr;
    HRESULT hr = comkit::CopyToTaskString(name, &copy);
    if (FAILED(hr))
        return hr;
    comkit::Lock lock(m_lock);
    m_name.reset(copy);
    return CreateLocked();
}

HRESULT FileTarget::CopyName(LPWSTR* name)
{
    comkit::Lock lock(m_lock);
    if (!m_name)
        return E_FAIL;
    return comkit::CopyToTaskString(m_name.get(), name);
}

HRESULT FileTarget::Open()
{
    comkit::Lock lock(m_lock);
    if (m_file.Valid() && !m_written)
        return S_OK;
    return CreateLocked();
}

HRESULT FileTarget::CreateLocked()
{
    CloseLocked();
    if (!m_name)
        return E_UNEXPECTED;
    m_file.Reset(CreateFileW(m_name.get(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    m_written = false;
    return m_file.Valid() ? S_OK : LastError();
}

void FileTarget::Close()
{
    comkit::Lock lock(m_lock);
    CloseLocked();
    m_name.reset();
}

void FileTarget::CloseLocked()
{
    m_file.Reset();
}

HRESULT FileTarget::Write(const void* data, ULONG size, ULONG* written)
{
    comkit::Lock lock(m_lock);
    DWORD done = 0;
    if (!m_file.Valid())
        return E_UNEXPECTED;
    BOOL ok = WriteFile(m_file.Get(), data, size, &done, nullptr);
    m_written = true;
    if (written)
        *written = done;
    if (!ok)
        return LastError();
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT FileTarget::WriteAt(LONGLONG offset, const void* data, ULONG size)
{
    comkit::Lock lock(m_lock);
    if (!m_file.Valid())
        return E_UNEXPECTED;
    LARGE_INTEGER position;
    position.QuadPart = offset;
    DWORD done = 0;
    m_written = true;
    if (!SetFilePointerEx(m_file.Get(), position, nullptr, FILE_BEGIN) ||
        !WriteFile(m_file.Get(), data, size, &done, nullptr))
        return LastError();
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT FileTarget::Read(void* data, ULONG size, ULONG* read)
{
    comkit::Lock lock(m_lock);
    DWORD done = 0;
    if (!m_file.Valid())
        return E_UNEXPECTED;
    BOOL ok = ReadFile(m_file.Get(), data, size, &done, nullptr);
    if (read)
        *read = done;
    if (!ok)
        return LastError();
    return done == size ? S_OK : S_FALSE;
}

HRESULT FileTarget::Seek(LONGLONG move, DWORD origin, ULONGLONG* position)
{
    comkit::Lock lock(m_lock);
    if (!m_file.Valid())
        return E_UNEXPECTED;
    if (origin != STREAM_SEEK_SET && origin != STREAM_SEEK_CUR && origin != STREAM_SEEK_END)
        return STG_E_INVALIDFUNCTION;
    // STREAM_SEEK_* and FILE_BEGIN/CURRENT/END share their values.
    LARGE_INTEGER distance, reached;
    distance.QuadPart = move;
    if (!SetFilePointerEx(m_file.Get(), distance, &reached, origin))
        return STG_E_INVALIDFUNCTION;
    if (position)
        *position = static_cast<ULONGLONG>(reached.QuadPart);
    return S_OK;
}

HRESULT FileTarget::SetSize(ULONGLONG size)
{
    comkit::Lock lock(m_lock);
    if (!m_file.Valid())
        return E_UNEXPECTED;
    LARGE_INTEGER current = {}, target;
    target.QuadPart = static_cast<LONGLONG>(size);
    LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(m_file.Get(), zero, &current, FILE_CURRENT) ||
        !SetFilePointerEx(m_file.Get(), target, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file.Get()))
        return LastError();
    m_written = true;
    SetFilePointerEx(m_file.Get(), current, nullptr, FILE_BEGIN);
    return S_OK;
}

HRESULT FileTarget::Size(ULONGLONG* size)
{
    comkit::Lock lock(m_lock);
    if (!m_file.Valid())
        return E_UNEXPECTED;
    LARGE_INTEGER bytes;
    if (!GetFileSizeEx(m_file.Get(), &bytes))
        return LastError();
    *size = static_cast<ULONGLONG>(bytes.QuadPart);
    return S_OK;
}
