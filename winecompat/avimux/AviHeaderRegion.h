// The file's first bytes up to its first 'movi' list: RIFF 'AVI ', hdrl (avih, one video
// strl with strh, strf and a super index 'indx' with room for every segment), odml/dmlh.
// Written once when the file starts; afterwards only its counters and index entries
// change, in place, at the offsets kept here.
#pragma once

#include <windows.h>
#include <aviriff.h>

#include <cstddef>
#include <vector>

#include "AviVideoFormat.h"

struct AviHeaderRegion
{
    std::vector<BYTE> bytes;
    ULONGLONG riffSizeAt = 0;  // RIFF 'AVI ' cb
    ULONGLONG avihFlagsAt = 0;
    ULONGLONG avihTotalFramesAt = 0;  // frames in the first RIFF
    ULONGLONG strhLengthAt = 0;       // every frame of the stream
    ULONGLONG superIndexAt = 0;       // the AVISUPERINDEX chunk ('indx')
    ULONGLONG grandFramesAt = 0;      // dmlh dwGrandFrames
};

// A four-character code as RIFF stores it (aviriff.h's FCC needs multi-character constants).
constexpr FOURCC FourCC(const char (&code)[5])
{
    return static_cast<FOURCC>(static_cast<BYTE>(code[0])) |
           static_cast<FOURCC>(static_cast<BYTE>(code[1])) << 8 |
           static_cast<FOURCC>(static_cast<BYTE>(code[2])) << 16 |
           static_cast<FOURCC>(static_cast<BYTE>(code[3])) << 24;
}

// Super index entries the header has room for: one per segment.
constexpr DWORD kSuperIndexEntries = NUMINDEX(4);
// Entries of one segment's standard index ('ix00'), reserved whole when the segment starts.
constexpr DWORD kSegmentIndexEntries = NUMINDEX(2);

constexpr DWORD kVideoIndexId = FourCC("ix00");
// Stream 0's chunks: '00db' for uncompressed RGB, '00dc' for anything with a FOURCC.
DWORD VideoChunkIdOf(const BITMAPINFOHEADER& header);

AviHeaderRegion BuildHeaderRegion(const AviVideoFormat& format, DWORD frameBytes);

// Byte offsets of fields inside the index structures, for in-place updates.
constexpr ULONGLONG kIndexEntriesInUseAt = offsetof(AVISUPERINDEX, nEntriesInUse);
constexpr ULONGLONG kSuperIndexEntriesAt = offsetof(AVISUPERINDEX, aIndex);
constexpr ULONGLONG kStdIndexEntriesAt = offsetof(AVISTDINDEX, aIndex);
