// Where the AVI writer's bytes go: positioned writes, so that headers and indexes can be
// brought up to date in place while frames are appended.
#pragma once

#include <windows.h>

class AviSink
{
public:
    // A short write is a failure (the disk is full): S_OK only when every byte went out.
    virtual HRESULT WriteAt(ULONGLONG offset, const void* data, DWORD size) = 0;
    // Cuts off a partly written tail; needs no new space.
    virtual HRESULT Truncate(ULONGLONG size) = 0;

protected:
    ~AviSink() = default;
};
