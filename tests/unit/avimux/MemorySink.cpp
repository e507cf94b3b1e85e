#include "MemorySink.h"

#include <algorithm>
#include <cstring>

#include "avimux/AviHeaderRegion.h"

namespace
{
constexpr DWORD kKeptBytes = 64 << 10;
}

HRESULT MemorySink::WriteAt(ULONGLONG offset, const void* data, DWORD size)
{
    if (size <= kKeptBytes)
    {
        const BYTE* begin = static_cast<const BYTE*>(data);
        m_writes.push_back(Write{offset, std::vector<BYTE>(begin, begin + size)});
    }
    m_end = std::max(m_end, offset + size);
    return S_OK;
}

HRESULT MemorySink::Truncate(ULONGLONG size)
{
    m_end = size;
    return S_OK;
}

std::vector<BYTE> MemorySink::Read(ULONGLONG offset, size_t size) const
{
    std::vector<BYTE> bytes(size);
    for (const Write& write : m_writes)
    {
        const ULONGLONG from = std::max(offset, write.at);
        const ULONGLONG to = std::min(offset + size, write.at + write.bytes.size());
        if (from < to)
            memcpy(&bytes[from - offset], &write.bytes[from - write.at], static_cast<size_t>(to - from));
    }
    return bytes;
}

ULONGLONG SuperIndexAt(const MemorySink& sink)
{
    const std::vector<BYTE> head = sink.Read(0, 4096);
    const DWORD indx = FourCC("indx");
    for (size_t at = 0; at + 4 <= head.size(); at += 4)
    {
        if (memcmp(&head[at], &indx, 4) == 0)
            return at;
    }
    return 0;
}

WrittenIndex ReadIndex(const MemorySink& sink)
{
    WrittenIndex index;
    index.super = sink.ReadAs<AVISUPERINDEX>(SuperIndexAt(sink));
    for (DWORD i = 0; i < index.super.nEntriesInUse && i < kSuperIndexEntries; ++i)
        index.segments.push_back(sink.ReadAs<AVISTDINDEX>(index.super.aIndex[i].qwOffset));
    return index;
}
