#include "snapshot/StillFile.h"

#include "comkit/Handle.h"
#include "snapshot/BmpLayout.h"

namespace
{
HRESULT LastErrorResult()
{
    const DWORD error = GetLastError();
    return HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
}

StillWriteFn writeBytes = &::WriteFile;

HRESULT WriteWhole(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    if (!writeBytes(file, data, size, &written, nullptr))
        return LastErrorResult();
    return written == size ? S_OK : HRESULT_FROM_WIN32(ERROR_DISK_FULL);
}
}  // namespace

StillWriteFn SetStillWriteFunction(StillWriteFn write)
{
    StillWriteFn previous = writeBytes;
    writeBytes = write ? write : &::WriteFile;
    return previous;
}

HRESULT WriteStillFile(const char* path, const BITMAPINFOHEADER& info, const BYTE* pixels, LONG length,
                       ExistingFile existing)
{
    if (!path || !pixels || length < 0)
        return E_INVALIDARG;
    const DWORD disposition = existing == ExistingFile::Keep ? CREATE_NEW : CREATE_ALWAYS;
    comkit::Handle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, 0, nullptr));
    if (!file)
        return LastErrorResult();
    const BITMAPFILEHEADER header = MakeStillFileHeader(static_cast<DWORD>(length));
    HRESULT hr = WriteWhole(file.Get(), &header, sizeof header);
    if (SUCCEEDED(hr))
        hr = WriteWhole(file.Get(), &info, sizeof info);
    if (SUCCEEDED(hr))
        hr = WriteWhole(file.Get(), pixels, static_cast<DWORD>(length));
    if (!file.Close() && SUCCEEDED(hr))
        hr = LastErrorResult();
    if (FAILED(hr))
        DeleteFileA(path);
    return hr;
}
