// A camera's compressed stream through the writer core: '00dc' chunks of any size, key
// frames where the samples' sync points say, the stream headers naming the codec, and
// dropped frames kept as empty chunks so that a clip lasts as long as its recording.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MemorySink.h"
#include "StampedAvi.h"
#include "TestFiles.h"
#include "avimux/AviHeaderRegion.h"
#include "support/VideoProbe.h"

namespace
{

constexpr REFERENCE_TIME kInterval = 333333;

AviVideoFormat MjpgFormat()
{
    AviVideoFormat format;
    BITMAPINFOHEADER bmi = {sizeof(bmi), 320, 240, 1, 24, FourCC("MJPG"), 320 * 240 * 3, 0, 0, 0, 0};
    format.bitmapInfo.resize(sizeof(bmi));
    memcpy(format.bitmapInfo.data(), &bmi, sizeof(bmi));
    format.frameDuration = kInterval;
    return format;
}

struct Written
{
    MemorySink sink;
    WrittenIndex index;
    std::vector<AVIOLDINDEX::_avioldindex_entry> idx1;
};

// Frames of the given sizes (bytes of value 1..n), key where `keys` says, stamped at the
// given times in frame intervals; the file finished and its indexes read back.
void Write(const AviVideoFormat& format, const std::vector<DWORD>& sizes, const std::vector<bool>& keys,
           const std::vector<double>& slots, Written* out)
{
    OpenDmlWriter writer(out->sink, format, format.Header().biSizeImage);
    ASSERT_EQ(S_OK, writer.Start());
    for (size_t i = 0; i < sizes.size(); ++i)
    {
        const std::vector<BYTE> frame(sizes[i], static_cast<BYTE>(i + 1));
        ASSERT_EQ(S_OK, writer.WriteFrameAt(static_cast<REFERENCE_TIME>(slots[i] * kInterval), frame.data(),
                                            sizes[i], keys[i]));
    }
    ASSERT_EQ(S_OK, writer.Finish());
    out->index = ReadIndex(out->sink);
    ASSERT_EQ(1u, out->index.segments.size());
    const ULONGLONG moviAt = out->index.segments[0].qwBaseOffset - 8;
    const ULONGLONG idx1At = moviAt + 8 + out->sink.Dword(moviAt + 4);
    ASSERT_EQ(FourCC("idx1"), out->sink.Dword(idx1At));
    out->idx1.resize(out->sink.Dword(idx1At + 4) / sizeof(out->idx1[0]));
    const std::vector<BYTE> bytes = out->sink.Read(idx1At + 8, out->idx1.size() * sizeof(out->idx1[0]));
    memcpy(out->idx1.data(), bytes.data(), bytes.size());
}

TEST(OpenDmlCompressed, FramesAre00dcChunksKeyedBySyncPoint)
{
    Written file;
    Write(MjpgFormat(), {1001, 6, 2000}, {true, false, true}, {0, 1, 2}, &file);
    const AVISTDINDEX& ix = file.index.segments[0];
    EXPECT_EQ(FourCC("00dc"), file.index.super.dwChunkId);
    EXPECT_EQ(FourCC("00dc"), ix.dwChunkId);
    ASSERT_EQ(3u, ix.nEntriesInUse);
    const DWORD sizes[] = {1001, 6, 2000};
    for (DWORD i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const bool key = i != 1;
        EXPECT_EQ(sizes[i] | (key ? 0 : AVISTDINDEX_DELTAFRAME), ix.aIndex[i].dwSize);
        EXPECT_EQ(FourCC("00dc"), file.idx1[i].dwChunkId);
        EXPECT_EQ(key ? AVIIF_KEYFRAME : 0u, file.idx1[i].dwFlags);
        EXPECT_EQ(sizes[i], file.idx1[i].dwSize);
        EXPECT_EQ(i + 1, file.sink.Read(ix.qwBaseOffset + ix.aIndex[i].dwOffset, 1)[0]);
    }
    const AviHeaderRegion header = BuildHeaderRegion(MjpgFormat(), MjpgFormat().Header().biSizeImage);
    const ULONGLONG strhAt = header.strhLengthAt - offsetof(AVISTREAMHEADER, dwLength);
    EXPECT_EQ(FourCC("MJPG"), file.sink.Dword(strhAt + offsetof(AVISTREAMHEADER, fccHandler)));
}

TEST(OpenDmlCompressed, WholeIntervalsMissedBecomeEmptyNonKeyChunks)
{
    Written file;
    // 4.4 is jitter, not a drop: that frame takes slot 4.
    Write(MjpgFormat(), {10, 10, 10, 10}, {true, true, true, true}, {0, 1, 3, 4.4}, &file);
    const AVISTDINDEX& ix = file.index.segments[0];
    ASSERT_EQ(5u, ix.nEntriesInUse);
    EXPECT_EQ(AVISTDINDEX_DELTAFRAME, ix.aIndex[2].dwSize);  // empty and not a keyframe
    EXPECT_EQ(0u, file.idx1[2].dwFlags);
    EXPECT_EQ(3, file.sink.Read(ix.qwBaseOffset + ix.aIndex[3].dwOffset, 1)[0]);
    for (DWORD i : {0, 1, 3, 4})
        EXPECT_EQ(10u, ix.aIndex[i].dwSize);
}

// Read by a reader nobody here wrote: the clip lasts as long as the recording.
TEST(OpenDmlCompressed, FfprobeCountsTheDroppedFramesInTheDuration)
{
    const std::string path = ScratchDirUnix() + "/gaps.avi";
    const AviVideoFormat format = Rgb24Format(320, 240, kInterval);
    ASSERT_EQ(S_OK, WriteStampedAviAt(path, format, {0, 1, 2, 6, 7, 8, 9, 12}).hr);
    const support::VideoProbe info = support::ProbeVideo(path);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_EQ(13, info.headerFrames);
    EXPECT_NEAR(13 / 30.0, info.seconds, 0.001) << info.log;
    EXPECT_EQ(8, info.decodedFrames) << info.log;  // the empty chunks decode to nothing
    const std::vector<uint32_t> numbers = support::StampedFrameNumbers(path, 320);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}), numbers);
}

}  // namespace
