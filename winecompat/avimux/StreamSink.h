// An AviSink over the IStream a file writer's input pin offers.
#pragma once

#include <objidl.h>

#include "AviSink.h"

class StreamSink final : public AviSink
{
public:
    explicit StreamSink(IStream* stream) : m_stream(stream) {}  // not counted: the pin owns it

    HRESULT WriteAt(ULONGLONG offset, const void* data, DWORD size) override;
    HRESULT Truncate(ULONGLONG size) override;

private:
    IStream* m_stream;
};
