#include "FileHandleSink.h"

namespace
{

HRESULT LastErrorOr(HRESULT fallback)
{
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : fallback;
}

}  // namespace

HRESULT FileHandleSink::WriteAt(ULONGLONG offset, const void* data, DWORD size)
{
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD done = 0;
    SetLastError(0);
    if (!WriteFile(m_file, data, size, &done, &at))
        return LastErrorOr(E_FAIL);
    return done == size ? S_OK : HRESULT_FROM_WIN32(ERROR_DISK_FULL);
}

HRESULT FileHandleSink::Truncate(ULONGLONG size)
{
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(m_file, FileEndOfFileInfo, &end, sizeof(end)))
        return LastErrorOr(E_FAIL);
    return S_OK;
}
