// An AviSink over a Win32 file handle (not owned).
#pragma once

#include "AviSink.h"

class FileHandleSink final : public AviSink
{
public:
    explicit FileHandleSink(HANDLE file) : m_file(file) {}

    HRESULT WriteAt(ULONGLONG offset, const void* data, DWORD size) override;
    HRESULT Truncate(ULONGLONG size) override;

private:
    HANDLE m_file;
};
