// The file the writer fills: opened when the graph pauses, written both in sequence
// (the mux's IStream) and at given offsets (samples whose times are byte positions).
// Kept open after Stop, because the mux writes its headers and index while it stops.
#pragma once

#include <windows.h>

#include "CriticalSection.h"

class FileTarget {
public:
    FileTarget() = default;
    ~FileTarget() { Close(); }
    FileTarget(const FileTarget&) = delete;
    FileTarget& operator=(const FileTarget&) = delete;

    HRESULT SetName(LPCWSTR name);
    HRESULT CopyName(LPWSTR* name);
    HRESULT Open();
    void Close();

    HRESULT Write(const void* data, ULONG size, ULONG* written);
    HRESULT WriteAt(LONGLONG offset, const void* data, ULONG size);
    HRESULT Read(void* data, ULONG size, ULONG* read);
    HRESULT Seek(LONGLONG move, DWORD origin, ULONGLONG* position);
    HRESULT SetSize(ULONGLONG size);
    HRESULT Size(ULONGLONG* size);

private:
    void CloseLocked();

    CriticalSection m_lock;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    LPWSTR m_name = nullptr;  // task memory
};
