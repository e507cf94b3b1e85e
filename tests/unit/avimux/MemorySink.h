// A sink in memory for the writer core's layout tests. Writes of up to 64 KiB are kept
// (headers, indexes, small frames); larger ones only move the end, so that a file past
// 4 GiB costs no memory. Reads give back what was kept, later writes over earlier ones.
#pragma once

#include <windows.h>
#include <aviriff.h>

#include <vector>

#include "avimux/AviSink.h"

class MemorySink : public AviSink
{
public:
    HRESULT WriteAt(ULONGLONG offset, const void* data, DWORD size) override;
    HRESULT Truncate(ULONGLONG size) override;

    ULONGLONG End() const { return m_end; }
    std::vector<BYTE> Read(ULONGLONG offset, size_t size) const;
    template <class T>
    T ReadAs(ULONGLONG offset) const
    {
        T value;
        const std::vector<BYTE> bytes = Read(offset, sizeof(T));
        memcpy(&value, bytes.data(), sizeof(T));
        return value;
    }
    DWORD Dword(ULONGLONG offset) const { return ReadAs<DWORD>(offset); }

private:
    struct Write
    {
        ULONGLONG at;
        std::vector<BYTE> bytes;
    };
    std::vector<Write> m_writes;
    ULONGLONG m_end = 0;
};

// Where things are in a file the writer made, read from the sink: its super index and
// the standard index of each segment it names.
struct WrittenIndex
{
    AVISUPERINDEX super = {};
    std::vector<AVISTDINDEX> segments;
};
WrittenIndex ReadIndex(const MemorySink& sink);
// The offset of the super index chunk ('indx') in the header region.
ULONGLONG SuperIndexAt(const MemorySink& sink);
