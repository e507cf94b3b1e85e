// Writes one video stream as an OpenDML (AVI 2.0) file that stays readable whatever
// happens to the process:
//   - the header region, with room for the super index, is written before any frame;
//   - every segment (RIFF 'AVI ', then RIFF 'AVIX', each under the segment limit)
//     starts with its standard index 'ix00' reserved whole, so the index never moves;
//   - at least once per second of video, and at every segment boundary, the new index
//     entries and then the counts and RIFF/LIST sizes are written in place, each
//     covering only frames already written: a process killed at any moment leaves a
//     file whose headers describe a prefix of what is on disk;
//   - a failed write (a full disk) stops all appending, cuts off the partial tail and
//     brings the header up to date in place, which needs no new space.
// The first segment also gets an idx1 when it closes, for readers without OpenDML.
// Frames are '00db' chunks for uncompressed RGB, '00dc' for anything else; only frames
// said to be keyframes are indexed as such. WriteFrameAt keeps the clip as long as the
// recording: a frame whose time lies whole frame intervals past the next free slot
// follows empty, non-key chunks for the slots missed (as VfW capture writes dropped
// frames), so that players keep the timing.
#pragma once

#include <windows.h>
#include <aviriff.h>

#include <vector>

#include "AviHeaderRegion.h"
#include "AviSink.h"
#include "AviVideoFormat.h"

// RIFF chunks stay under 1 GiB, as OpenDML readers expect of every segment.
constexpr ULONGLONG kMaxSegmentBytes = (1ULL << 30) - 1;

class OpenDmlWriter
{
public:
    // frameBytes: the connected frame size (header figures); frames may differ.
    OpenDmlWriter(AviSink& sink, const AviVideoFormat& format, DWORD frameBytes,
                  ULONGLONG segmentLimit = kMaxSegmentBytes);
    OpenDmlWriter(const OpenDmlWriter&) = delete;
    OpenDmlWriter& operator=(const OpenDmlWriter&) = delete;

    HRESULT Start();
    HRESULT WriteFrame(const void* data, DWORD size, bool keyframe = true);
    // A frame stamped `start` (100 ns units); the first stamp is the clip's time 0.
    HRESULT WriteFrameAt(REFERENCE_TIME start, const void* data, DWORD size, bool keyframe);
    // Brings everything up to date; a file of one segment gets its idx1.
    HRESULT Finish();

    HRESULT Fault() const { return m_fault; }  // S_OK until a write failed
    ULONGLONG Frames() const { return m_totalFrames; }
    size_t Segments() const { return m_segments.size(); }

private:
    struct Segment
    {
        ULONGLONG riffAt;                              // 'RIFF'
        ULONGLONG moviAt;                              // 'LIST' of the movi list
        ULONGLONG indexAt;                             // 'ix00', first chunk in the movi list
        ULONGLONG moviEnd;                             // end of the last complete chunk in the movi list
        ULONGLONG Base() const { return moviAt + 8; }  // the 'movi' type; index offsets count from it
    };

    HRESULT WriteChunk(const void* data, DWORD size, bool keyframe);
    HRESULT FillGapBefore(REFERENCE_TIME start);
    HRESULT OpenSegment();
    HRESULT NextSegment();
    HRESULT WriteLegacyIndex();
    HRESULT Sync();
    HRESULT SyncIndex(const Segment& segment);
    HRESULT SyncSizes(size_t slot);
    HRESULT SyncCounters();
    HRESULT WriteDword(ULONGLONG at, DWORD value);
    HRESULT Fail(HRESULT hr);
    bool SegmentFull(DWORD chunkBytes) const;

    AviSink& m_sink;
    AviVideoFormat m_format;
    DWORD m_frameBytes;
    DWORD m_chunkId;
    bool m_compressed;
    REFERENCE_TIME m_frameDuration;
    ULONGLONG m_segmentLimit;
    DWORD m_syncEvery;
    AviHeaderRegion m_header;

    std::vector<Segment> m_segments;
    std::vector<AVISTDINDEX_ENTRY> m_entries;  // the current segment's frames
    size_t m_syncedEntries = 0;
    ULONGLONG m_end = 0;  // end of everything completely written
    ULONGLONG m_totalFrames = 0;
    DWORD m_firstSegmentFrames = 0;
    DWORD m_sinceSync = 0;
    REFERENCE_TIME m_origin = 0;  // where slot 0 lies, once a frame had a time
    bool m_timed = false;
    bool m_legacyIndexWritten = false;
    bool m_started = false;
    HRESULT m_fault = S_OK;
};
