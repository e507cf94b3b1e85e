// The file the writer fills, written both in sequence (the mux's IStream) and at given
// offsets (samples whose times are byte positions). It is created as soon as it is
// named, so that a path that cannot be written fails SetOutputFileName rather than Run:
// Wine leaves a graph whose Pause failed half paused, and releasing it never returns.
// Kept open after Stop, because the mux writes its headers and index while it stops;
// a later run starts it anew.
#pragma once

#include <windows.h>

#include "comkit/CriticalSection.h"
#include "comkit/Handle.h"
#include "comkit/NonCopyable.h"
#include "comkit/TaskMemory.h"

class FileTarget : comkit::NonCopyable
{
public:
    FileTarget() = default;
    ~FileTarget() { Close(); }

    HRESULT SetName(LPCWSTR name);  // creates the file
    HRESULT CopyName(LPWSTR* name);
    HRESULT Open();  // empties the file again if anything was written
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

    comkit::CriticalSection m_lock;
    comkit::Handle m_file;
    comkit::TaskMemory<wchar_t> m_name;
    bool m_written = false;
};
