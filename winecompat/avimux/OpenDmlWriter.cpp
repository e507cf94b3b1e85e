#include "OpenDmlWriter.h"

#include <cstring>

namespace
{

struct SegmentStart
{
    RIFFLIST movi;
    AVISTDINDEX index;
};

// A gap of more than this is a clock jump, not dropped frames: it is not filled.
constexpr REFERENCE_TIME kLongestGap = 3600LL * 10000000;

SegmentStart EmptySegmentStart(ULONGLONG moviAt, DWORD chunkId)
{
    SegmentStart start = {};
    start.movi = RIFFLIST{FourCC("LIST"), sizeof(FOURCC) + sizeof(AVISTDINDEX), FourCC("movi")};
    start.index.fcc = kVideoIndexId;
    start.index.cb = sizeof(AVISTDINDEX) - 8;
    start.index.wLongsPerEntry = 2;
    start.index.bIndexType = AVI_INDEX_OF_CHUNKS;
    start.index.dwChunkId = chunkId;
    start.index.qwBaseOffset = moviAt + 8;
    return start;
}

struct AvixStart
{
    RIFFLIST riff;
    SegmentStart segment;
};
static_assert(sizeof(AvixStart) == 2 * sizeof(RIFFLIST) + sizeof(AVISTDINDEX), "segment starts are packed");

DWORD PaddedChunkBytes(DWORD size)
{
    return sizeof(RIFFCHUNK) + size + (size & 1);
}

}  // namespace

OpenDmlWriter::OpenDmlWriter(AviSink& sink, const AviVideoFormat& format, DWORD frameBytes,
                             ULONGLONG segmentLimit)
    : m_sink(sink),
      m_format(format),
      m_frameBytes(frameBytes),
      m_chunkId(VideoChunkIdOf(format.Header())),
      m_compressed(m_chunkId == FourCC("00dc")),
      m_frameDuration(EffectiveFrameDuration(format.frameDuration)),
      m_segmentLimit(segmentLimit < kMaxSegmentBytes ? segmentLimit : kMaxSegmentBytes),
      m_syncEvery(FramesPerSecondOf(format.frameDuration))
{
}

HRESULT OpenDmlWriter::Start()
{
    if (m_started)
        return E_UNEXPECTED;
    m_started = true;
    m_header = BuildHeaderRegion(m_format, m_frameBytes);
    m_end = m_header.bytes.size();
    m_entries.reserve(kSegmentIndexEntries);
    HRESULT hr = m_sink.WriteAt(0, m_header.bytes.data(), static_cast<DWORD>(m_header.bytes.size()));
    if (SUCCEEDED(hr))
        hr = OpenSegment();
    return FAILED(hr) ? Fail(hr) : S_OK;
}

HRESULT OpenDmlWriter::WriteFrameAt(REFERENCE_TIME start, const void* data, DWORD size, bool keyframe)
{
    if (!m_started)
        return E_UNEXPECTED;
    const HRESULT hr = FillGapBefore(start);
    return FAILED(hr) ? hr : WriteFrame(data, size, keyframe);
}

// The frame's slot is its time in frame intervals from the origin, to the nearest one.
HRESULT OpenDmlWriter::FillGapBefore(REFERENCE_TIME start)
{
    const REFERENCE_TIME written = static_cast<REFERENCE_TIME>(m_totalFrames) * m_frameDuration;
    if (!m_timed || start - m_origin - written > kLongestGap)
    {
        m_origin = start - written;
        m_timed = true;
    }
    const REFERENCE_TIME ahead = start - m_origin - written;
    for (REFERENCE_TIME missed = (ahead + m_frameDuration / 2) / m_frameDuration; missed > 0; --missed)
    {
        const HRESULT hr = WriteFrame(nullptr, 0, false);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT OpenDmlWriter::WriteFrame(const void* data, DWORD size, bool keyframe)
{
    if (!m_started)
        return E_UNEXPECTED;
    if (FAILED(m_fault))
        return m_fault;
    const DWORD chunkBytes = PaddedChunkBytes(size);
    if (chunkBytes < size || chunkBytes + sizeof(AvixStart) > m_segmentLimit)
        return E_INVALIDARG;  // no segment could hold it
    HRESULT hr = S_OK;
    if (SegmentFull(chunkBytes))
        hr = NextSegment();
    if (SUCCEEDED(hr))
        hr = WriteChunk(data, size, keyframe || !m_compressed);
    if (FAILED(hr))
        return Fail(hr);
    if (++m_sinceSync >= m_syncEvery)
    {
        hr = Sync();
        if (FAILED(hr))
            return Fail(hr);
    }
    return S_OK;
}

HRESULT OpenDmlWriter::Finish()
{
    if (!m_started)
        return E_UNEXPECTED;
    if (FAILED(m_fault))
        return m_fault;
    HRESULT hr = Sync();
    if (SUCCEEDED(hr) && m_segments.size() == 1)
        hr = WriteLegacyIndex();
    return FAILED(hr) ? Fail(hr) : S_OK;
}

bool OpenDmlWriter::SegmentFull(DWORD chunkBytes) const
{
    if (m_entries.size() >= kSegmentIndexEntries)
        return true;
    const Segment& segment = m_segments.back();
    ULONGLONG needed = m_end - segment.riffAt + chunkBytes;
    if (m_segments.size() == 1)  // room for the idx1 it gets when it closes
        needed += sizeof(RIFFCHUNK) + (m_entries.size() + 1) * sizeof(AVIOLDINDEX::_avioldindex_entry);
    return needed > m_segmentLimit;
}

// Frame data first, then its index entry in memory; the file's index learns of it at
// the next Sync. An empty chunk stands for a dropped frame and is never a keyframe.
HRESULT OpenDmlWriter::WriteChunk(const void* data, DWORD size, bool keyframe)
{
    const RIFFCHUNK header{m_chunkId, size};
    HRESULT hr = m_sink.WriteAt(m_end, &header, sizeof(header));
    if (SUCCEEDED(hr) && size)
        hr = m_sink.WriteAt(m_end + sizeof(header), data, size);
    if (SUCCEEDED(hr) && (size & 1))
    {
        const BYTE pad = 0;
        hr = m_sink.WriteAt(m_end + sizeof(header) + size, &pad, 1);
    }
    if (FAILED(hr))
        return hr;
    const ULONGLONG dataAt = m_end + sizeof(header);
    const DWORD flags = keyframe && size ? 0 : AVISTDINDEX_DELTAFRAME;
    m_entries.push_back(
        AVISTDINDEX_ENTRY{static_cast<DWORD>(dataAt - m_segments.back().Base()), size | flags});
    m_end += PaddedChunkBytes(size);
    m_segments.back().moviEnd = m_end;
    ++m_totalFrames;
    if (m_segments.size() == 1)
        ++m_firstSegmentFrames;
    return S_OK;
}

// The first segment's movi list and index follow the header region; later ones come
// after a 'RIFF AVIX'. The super index names the new segment only once it is on disk.
HRESULT OpenDmlWriter::OpenSegment()
{
    if (m_segments.size() >= kSuperIndexEntries)
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    const bool first = m_segments.empty();
    Segment segment = {};
    segment.riffAt = first ? 0 : m_end;
    segment.moviAt = first ? m_end : m_end + sizeof(RIFFLIST);
    segment.indexAt = segment.moviAt + sizeof(RIFFLIST);
    segment.moviEnd = segment.indexAt + sizeof(AVISTDINDEX);
    AvixStart avix = {};
    avix.riff = RIFFLIST{FourCC("RIFF"), static_cast<DWORD>(sizeof(AvixStart) - 8), FourCC("AVIX")};
    avix.segment = EmptySegmentStart(segment.moviAt, m_chunkId);
    const void* block = first ? static_cast<const void*>(&avix.segment) : &avix;
    const DWORD blockBytes = first ? sizeof(SegmentStart) : sizeof(AvixStart);
    HRESULT hr = m_sink.WriteAt(m_end, block, blockBytes);
    if (FAILED(hr))
        return hr;
    m_end += blockBytes;
    m_segments.push_back(segment);
    m_entries.clear();
    m_syncedEntries = 0;

    const size_t slot = m_segments.size() - 1;
    AVISUPERINDEX::_avisuperindex_entry entry = {segment.indexAt, sizeof(AVISTDINDEX), 0};
    hr = m_sink.WriteAt(m_header.superIndexAt + kSuperIndexEntriesAt + slot * sizeof(entry), &entry,
                        sizeof(entry));
    if (SUCCEEDED(hr))
        hr = WriteDword(m_header.superIndexAt + kIndexEntriesInUseAt, static_cast<DWORD>(m_segments.size()));
    if (SUCCEEDED(hr) && first)
        hr = SyncSizes(slot);
    return hr;
}

HRESULT OpenDmlWriter::NextSegment()
{
    HRESULT hr = Sync();
    if (SUCCEEDED(hr) && m_segments.size() == 1)
        hr = WriteLegacyIndex();
    if (SUCCEEDED(hr))
        hr = OpenSegment();
    return hr;
}

// idx1 after the first movi list: offsets from the 'movi' type, pointing at chunk headers.
HRESULT OpenDmlWriter::WriteLegacyIndex()
{
    if (m_legacyIndexWritten)
        return S_OK;
    using Entry = AVIOLDINDEX::_avioldindex_entry;
    std::vector<BYTE> chunk(sizeof(RIFFCHUNK) + m_entries.size() * sizeof(Entry));
    const RIFFCHUNK header{FourCC("idx1"), static_cast<DWORD>(m_entries.size() * sizeof(Entry))};
    memcpy(chunk.data(), &header, sizeof(header));
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        const DWORD size = m_entries[i].dwSize & AVISTDINDEX_SIZEMASK;
        const DWORD flags = m_entries[i].dwSize & AVISTDINDEX_DELTAFRAME ? 0 : AVIIF_KEYFRAME;
        const Entry entry{m_chunkId, flags, static_cast<DWORD>(m_entries[i].dwOffset - sizeof(RIFFCHUNK)),
                          size};
        memcpy(chunk.data() + sizeof(header) + i * sizeof(Entry), &entry, sizeof(entry));
    }
    HRESULT hr = m_sink.WriteAt(m_end, chunk.data(), static_cast<DWORD>(chunk.size()));
    if (FAILED(hr))
        return hr;
    m_end += chunk.size();
    m_legacyIndexWritten = true;
    hr = SyncSizes(0);
    if (SUCCEEDED(hr))
        hr = WriteDword(m_header.avihFlagsAt, AVIF_HASINDEX | AVIF_ISINTERLEAVED | AVIF_WASCAPTUREFILE);
    return hr;
}

// Index entries before the count that makes them valid, sizes and counters after the
// data they cover: whatever part of this lands before a kill, the file stays consistent.
HRESULT OpenDmlWriter::Sync()
{
    m_sinceSync = 0;
    HRESULT hr = SyncIndex(m_segments.back());
    if (SUCCEEDED(hr))
        hr = SyncSizes(m_segments.size() - 1);
    if (SUCCEEDED(hr))
        hr = SyncCounters();
    return hr;
}

HRESULT OpenDmlWriter::SyncIndex(const Segment& segment)
{
    const size_t fresh = m_entries.size() - m_syncedEntries;
    if (fresh == 0)
        return S_OK;
    HRESULT hr =
        m_sink.WriteAt(segment.indexAt + kStdIndexEntriesAt + m_syncedEntries * sizeof(AVISTDINDEX_ENTRY),
                       &m_entries[m_syncedEntries], static_cast<DWORD>(fresh * sizeof(AVISTDINDEX_ENTRY)));
    const DWORD inUse = static_cast<DWORD>(m_entries.size());
    if (SUCCEEDED(hr))
        hr = WriteDword(segment.indexAt + kIndexEntriesInUseAt, inUse);
    const size_t slot = m_segments.size() - 1;
    const ULONGLONG durationAt = m_header.superIndexAt + kSuperIndexEntriesAt +
                                 slot * sizeof(AVISUPERINDEX::_avisuperindex_entry) +
                                 offsetof(AVISUPERINDEX::_avisuperindex_entry, dwDuration);
    if (SUCCEEDED(hr))
        hr = WriteDword(durationAt, inUse);
    if (SUCCEEDED(hr))
        m_syncedEntries = m_entries.size();
    return hr;
}

// The last segment's RIFF ends at the end of the file; an earlier one has been sized
// for good when it closed.
HRESULT OpenDmlWriter::SyncSizes(size_t slot)
{
    const Segment& segment = m_segments[slot];
    const ULONGLONG riffEnd = slot + 1 == m_segments.size() ? m_end : segment.moviEnd;
    HRESULT hr = WriteDword(segment.moviAt + offsetof(RIFFLIST, cb),
                            static_cast<DWORD>(segment.moviEnd - segment.moviAt - 8));
    if (SUCCEEDED(hr))
        hr = WriteDword(segment.riffAt + offsetof(RIFFLIST, cb),
                        static_cast<DWORD>(riffEnd - segment.riffAt - 8));
    return hr;
}

HRESULT OpenDmlWriter::SyncCounters()
{
    const DWORD total = m_totalFrames > MAXDWORD ? MAXDWORD : static_cast<DWORD>(m_totalFrames);
    HRESULT hr = WriteDword(m_header.strhLengthAt, total);
    if (SUCCEEDED(hr))
        hr = WriteDword(m_header.grandFramesAt, total);
    if (SUCCEEDED(hr))
        hr = WriteDword(m_header.avihTotalFramesAt, m_firstSegmentFrames);
    return hr;
}

HRESULT OpenDmlWriter::WriteDword(ULONGLONG at, DWORD value)
{
    return m_sink.WriteAt(at, &value, sizeof(value));
}

// Nothing more is appended: the partial tail goes, and what is complete gets its
// index and sizes in place.
HRESULT OpenDmlWriter::Fail(HRESULT hr)
{
    if (FAILED(m_fault))
        return m_fault;
    m_fault = hr;
    m_sink.Truncate(m_end);
    if (!m_segments.empty())
        Sync();
    return hr;
}
