// Writing one still to disk. A still either lands whole or not at all: a write that
// fails or comes out short (a full disk) removes the partial file.
#pragma once

#include <windows.h>

using StillWriteFn = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                   LPOVERLAPPED overlapped);

enum class ExistingFile
{
    Replace,
    Keep
};

// Writes the two headers and `length` pixel bytes to `path`. With ExistingFile::Keep a
// file of that name is never replaced (the write fails with ERROR_FILE_EXISTS). S_OK
// only when every byte was written and the file closed; otherwise the Win32 error as
// an HRESULT (a short write counts as ERROR_DISK_FULL).
HRESULT WriteStillFile(const char* path, const BITMAPINFOHEADER& info, const BYTE* pixels, LONG length,
                       ExistingFile existing = ExistingFile::Replace);

// Tests replace the write call to simulate a full disk; returns the previous one.
StillWriteFn SetStillWriteFunction(StillWriteFn write);
