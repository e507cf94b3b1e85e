#include "FileTarget.h"

#include <objbase.h>

#include <cwchar>

namespace {

HRESULT LastError()
{
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

LPWSTR TaskCopy(LPCWSTR text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}

}  // namespace

HRESULT FileTarget::SetName(LPCWSTR name)
{
    LPWSTR copy = TaskCopy(name);
    if (!copy)
        return E_OUTOFMEMORY;
    ScopedLock lock(m_lock);
    CoTaskMemFree(m_name);
    m_name = copy;
    return CreateLocked();
}

HRESULT FileTarget::CopyName(LPWSTR* name)
{
    ScopedLock lock(m_lock);
    if (!m_name)
        return E_FAIL;
    *name = TaskCopy(m_name);
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT FileTarget::Open()
{
    ScopedLock lock(m_lock);
    if (m_file != INVALID_HANDLE_VALUE && !m_written)
        return S_OK;
    return CreateLocked();
}

HRESULT FileTarget::CreateLocked()
{
    CloseLocked();
    if (!m_name)
        return E_UNEXPECTED;
    m_file = CreateFileW(m_name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    m_written = false;
    return m_file == INVALID_HANDLE_VALUE ? LastError() : S_OK;
}

void FileTarget::Close()
{
    ScopedLock lock(m_lock);
    CloseLocked();
    CoTaskMemFree(m_name);
    m_name = nullptr;
}

void FileTarget::CloseLocked()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}

HRESULT FileTarget::Write(const void* data, ULONG size, ULONG* written)
{
    ScopedLock lock(m_lock);
    DWORD done = 0;
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    BOOL ok = WriteFile(m_file, data, size, &done, nullptr);
    m_written = true;
    if (written)
        *written = done;
    if (!ok)
        return LastError();
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT FileTarget::WriteAt(LONGLONG offset, const void* data, ULONG size)
{
    ScopedLock lock(m_lock);
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    LARGE_INTEGER position;
    position.QuadPart = offset;
    DWORD done = 0;
    m_written = true;
    if (!SetFilePointerEx(m_file, position, nullptr, FILE_BEGIN) || !WriteFile(m_file, data, size, &done, nullptr))
        return LastError();
    return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT FileTarget::Read(void* data, ULONG size, ULONG* read)
{
    ScopedLock lock(m_lock);
    DWORD done = 0;
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    BOOL ok = ReadFile(m_file, data, size, &done, nullptr);
    if (read)
        *read = done;
    if (!ok)
        return LastError();
    return done == size ? S_OK : S_FALSE;
}

HRESULT FileTarget::Seek(LONGLONG move, DWORD origin, ULONGLONG* position)
{
    ScopedLock lock(m_lock);
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    if (origin != STREAM_SEEK_SET && origin != STREAM_SEEK_CUR && origin != STREAM_SEEK_END)
        return STG_E_INVALIDFUNCTION;
    // STREAM_SEEK_* and FILE_BEGIN/CURRENT/END share their values.
    LARGE_INTEGER distance, reached;
    distance.QuadPart = move;
    if (!SetFilePointerEx(m_file, distance, &reached, origin))
        return STG_E_INVALIDFUNCTION;
    if (position)
        *position = static_cast<ULONGLONG>(reached.QuadPart);
    return S_OK;
}

HRESULT FileTarget::SetSize(ULONGLONG size)
{
    ScopedLock lock(m_lock);
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    LARGE_INTEGER current = {}, target;
    target.QuadPart = static_cast<LONGLONG>(size);
    LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(m_file, zero, &current, FILE_CURRENT) ||
        !SetFilePointerEx(m_file, target, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file))
        return LastError();
    m_written = true;
    SetFilePointerEx(m_file, current, nullptr, FILE_BEGIN);
    return S_OK;
}

HRESULT FileTarget::Size(ULONGLONG* size)
{
    ScopedLock lock(m_lock);
    if (m_file == INVALID_HANDLE_VALUE)
        return E_UNEXPECTED;
    LARGE_INTEGER bytes;
    if (!GetFileSizeEx(m_file, &bytes))
        return LastError();
    *size = static_cast<ULONGLONG>(bytes.QuadPart);
    return S_OK;
}
