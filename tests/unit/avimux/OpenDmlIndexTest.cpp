// The writer core's indexes through a sink in memory: odd sizes, a segment index that
// fills, offsets past 4 GiB and a super index that fills.
#include <gtest/gtest.h>

#include <vector>

#include "MemorySink.h"
#include "StampedAvi.h"
#include "avimux/AviHeaderRegion.h"

namespace
{

const AviVideoFormat kFormat = Rgb24Format(320, 240);

// The chunk an index entry points at: its header sits just before the data.
void ExpectChunkAt(const MemorySink& sink, ULONGLONG base, const AVISTDINDEX_ENTRY& entry, DWORD fcc)
{
    EXPECT_EQ(fcc, sink.Dword(base + entry.dwOffset - 8));
    EXPECT_EQ(entry.dwSize & AVISTDINDEX_SIZEMASK, sink.Dword(base + entry.dwOffset - 4));
}

TEST(OpenDmlIndex, AnOddFrameIsPaddedAndIndexedAtItsOwnSize)
{
    MemorySink sink;
    OpenDmlWriter writer(sink, kFormat, FrameBytesOf(kFormat));
    ASSERT_EQ(S_OK, writer.Start());
    const BYTE odd[3] = {1, 2, 3}, even[4] = {4, 5, 6, 7};
    ASSERT_EQ(S_OK, writer.WriteFrame(odd, 3));
    ASSERT_EQ(S_OK, writer.WriteFrame(even, 4));
    ASSERT_EQ(S_OK, writer.Finish());

    const WrittenIndex index = ReadIndex(sink);
    ASSERT_EQ(1u, index.segments.size());
    const AVISTDINDEX& ix = index.segments[0];
    ASSERT_EQ(2u, ix.nEntriesInUse);
    EXPECT_EQ(3u, ix.aIndex[0].dwSize);
    EXPECT_EQ(ix.aIndex[0].dwOffset + 3 + 1 + 8, ix.aIndex[1].dwOffset);  // one pad byte
    EXPECT_EQ(0, sink.Read(ix.qwBaseOffset + ix.aIndex[0].dwOffset + 3, 1)[0]);
    for (DWORD i = 0; i < 2; ++i)
        ExpectChunkAt(sink, ix.qwBaseOffset, ix.aIndex[i], FourCC("00db"));
    EXPECT_EQ(0u, sink.End() % 2);
}

TEST(OpenDmlIndex, TheFramePastASegmentIndexStartsTheNextSegment)
{
    MemorySink sink;
    OpenDmlWriter writer(sink, kFormat, FrameBytesOf(kFormat));
    ASSERT_EQ(S_OK, writer.Start());
    const std::vector<BYTE> frame(16, 0x5A);
    for (DWORD i = 0; i <= kSegmentIndexEntries; ++i)
        ASSERT_EQ(S_OK, writer.WriteFrame(frame.data(), 16)) << i;
    ASSERT_EQ(S_OK, writer.Finish());
    EXPECT_EQ(2u, writer.Segments());

    const WrittenIndex index = ReadIndex(sink);
    ASSERT_EQ(2u, index.super.nEntriesInUse);
    EXPECT_EQ(kSegmentIndexEntries, index.super.aIndex[0].dwDuration);
    EXPECT_EQ(1u, index.super.aIndex[1].dwDuration);
    EXPECT_EQ(kSegmentIndexEntries, index.segments[0].nEntriesInUse);
    ASSERT_EQ(1u, index.segments[1].nEntriesInUse);
    ExpectChunkAt(sink, index.segments[1].qwBaseOffset, index.segments[1].aIndex[0], FourCC("00db"));
    const AviHeaderRegion header = BuildHeaderRegion(kFormat, FrameBytesOf(kFormat));
    EXPECT_EQ(kSegmentIndexEntries + 1, sink.Dword(header.strhLengthAt));
    EXPECT_EQ(kSegmentIndexEntries, sink.Dword(header.avihTotalFramesAt));  // the first RIFF's
}

TEST(OpenDmlIndex, OffsetsPast4GiBStayExact)
{
    MemorySink sink;  // keeps no frame this large
    constexpr DWORD kFrame = 200 << 20;
    const std::vector<BYTE> frame(kFrame);
    OpenDmlWriter writer(sink, kFormat, kFrame);
    ASSERT_EQ(S_OK, writer.Start());
    while (sink.End() < (6ULL << 30))  // a segment starting past 4 GiB
        ASSERT_EQ(S_OK, writer.WriteFrame(frame.data(), kFrame));
    ASSERT_EQ(S_OK, writer.Finish());

    const WrittenIndex index = ReadIndex(sink);
    ASSERT_EQ(writer.Segments(), index.segments.size());
    EXPECT_GT(index.super.aIndex[index.super.nEntriesInUse - 1].qwOffset, 1ULL << 32);
    for (size_t s = 0; s < index.segments.size(); ++s)
    {
        SCOPED_TRACE(s);
        const AVISTDINDEX& ix = index.segments[s];
        EXPECT_EQ(FourCC("ix00"), ix.fcc);
        EXPECT_EQ(FourCC("movi"), sink.Dword(ix.qwBaseOffset));
        const ULONGLONG riffAt = s == 0 ? 0 : ix.qwBaseOffset - 20;
        EXPECT_EQ(FourCC("RIFF"), sink.Dword(riffAt));
        EXPECT_LT(sink.Dword(riffAt + 4), kMaxSegmentBytes);
        for (DWORD i = 0; i < ix.nEntriesInUse; ++i)
            ExpectChunkAt(sink, ix.qwBaseOffset, ix.aIndex[i], FourCC("00db"));
    }
}

TEST(OpenDmlIndex, AFullSuperIndexEndsTheFileWhereItsLastSegmentEnds)
{
    MemorySink sink;
    constexpr DWORD kFrame = 70 << 10;  // three to a segment
    const std::vector<BYTE> frame(kFrame);
    OpenDmlWriter writer(sink, kFormat, kFrame, 256 << 10);
    ASSERT_EQ(S_OK, writer.Start());
    HRESULT hr = S_OK;
    while (hr == S_OK)
        hr = writer.WriteFrame(frame.data(), kFrame);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), hr);
    EXPECT_EQ(hr, writer.WriteFrame(frame.data(), kFrame));
    EXPECT_EQ(kSuperIndexEntries, writer.Segments());

    const WrittenIndex index = ReadIndex(sink);
    ASSERT_EQ(kSuperIndexEntries, index.super.nEntriesInUse);
    ULONGLONG frames = 0;
    for (const AVISTDINDEX& ix : index.segments)
        frames += ix.nEntriesInUse;
    EXPECT_EQ(writer.Frames(), frames);
    const AVISTDINDEX& last = index.segments.back();
    const AVISTDINDEX_ENTRY& end = last.aIndex[last.nEntriesInUse - 1];
    EXPECT_EQ(last.qwBaseOffset + end.dwOffset + kFrame, sink.End());
    const AviHeaderRegion header = BuildHeaderRegion(kFormat, kFrame);
    EXPECT_EQ(frames, sink.Dword(header.strhLengthAt));
}

}  // namespace
