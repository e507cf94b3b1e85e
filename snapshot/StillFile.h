// Writing one still to disk. A still either lands whole or not at all: a write that
// fails or comes out short (a full disk) removes the partial file.
#pragma once

#include <windows.h>

using StillWriteFn = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                   LPOVERLAPPED overlapped);

// Writes the two headers and `length` pixel bytes to `path` (replacing any file of
// that name). Returns true only when every byte was written and the file closed.
bool WriteStillFile(const char* path, const BITMAPINFOHEADER& info, const BYTE* pixels,
                    LONG length);

// Tests replace the write call to simulate a full disk; returns the previous one.
StillWriteFn SetStillWriteFunction(StillWriteFn write);
