// The file the writer fills, written both in sequence (the mux's IStream) and at given
// offsets (samples whose times are byte positions). It is created as soon as it is
// named, so that a path that cannot be written fails SetOutputFileName rather than Run:
// Wine leaves a graph whose Pause failed half paused, and releasing it never returns.
// Kept open after Stop, because the mux writes its headers and index while it stops;
// a later run starts it anew.
#pragma once

#include <windows.h>

#include "CriticalSection.h"

class FileTarget {
public:
    FileTarget() = default;
    ~FileTarget() { Close(); }
    FileTarget(const FileTarget&) = delete;
    FileTarget& operator=(const FileTarget&) = delete;

    HRESULT SetName(LPCWSTR name);  // creates the file
    HRESULT CopyName(LPWSTR* name);
    HRESULT Open();                 // empties the file again if anything was written
    void Close();

    HRESULT Write(const void* data, ULONG size, ULONG* written);
    HRESULT WriteAt(LONGLONG offset, const void* data, ULONG size);
    HRESULT Read(void* data, ULONG size, ULONG* read);
    HRESULT Seek(LONGLONG move, DWORD origin, ULONGLONG* position);
    HRESULT SetSize(ULONGLONG size);
    HRESULT Size(ULONGLONG* size);

private:
    void CloseLocked();
    HRESULT CreateLocked();

    CriticalSection m_lock;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    LPWSTR m_name = nullptr;  // task memory
    bool m_written = false;
};
