// The OpenDML writer's files read back by ffprobe/ffmpeg: every frame in order across
// segment boundaries, rows and rates as the format says.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/VideoProbe.h"
#include "StampedAvi.h"
#include "TestFiles.h"
#include "support/TempFolder.h"
#include "unixtools/UnixTools.h"

namespace
{

struct Chunk
{
    DWORD fcc = 0;
    DWORD size = 0;
    DWORD type = 0;  // list type for RIFF and LIST
    ULONGLONG at = 0;
};

// The chunks between two offsets of a file, each read by its own size.
std::vector<Chunk> ChunksIn(std::ifstream& in, ULONGLONG begin, ULONGLONG end)
{
    std::vector<Chunk> chunks;
    for (ULONGLONG at = begin; at + 8 <= end;)
    {
        Chunk chunk;
        chunk.at = at;
        in.seekg(static_cast<std::streamoff>(at));
        in.read(reinterpret_cast<char*>(&chunk.fcc), 4).read(reinterpret_cast<char*>(&chunk.size), 4);
        in.read(reinterpret_cast<char*>(&chunk.type), 4);
        if (!in)
            break;
        chunks.push_back(chunk);
        at += 8 + chunk.size + (chunk.size & 1);
    }
    return chunks;
}

const DWORD kRiff = FourCC("RIFF");

TEST(OpenDmlLayout, SegmentsHoldEveryFrameInOrder)
{
    const std::string path = ScratchDirUnix() + "/segments.avi";
    const ULONGLONG limit = 2 << 20;
    const long frames = 100;
    WrittenAvi written = WriteStampedAvi(path, Rgb24Format(320, 240), static_cast<uint32_t>(frames), limit);
    ASSERT_EQ(S_OK, written.hr);
    EXPECT_GE(written.segments, 10u);

    support::VideoProbe info = support::ProbeVideo(path);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_FALSE(info.errors) << info.log;
    EXPECT_EQ(320, info.width);
    EXPECT_EQ(240, info.height);
    EXPECT_EQ("30/1", info.frameRate);
    EXPECT_EQ(frames, info.headerFrames);
    EXPECT_EQ(frames, info.decodedFrames);
    std::vector<uint32_t> numbers = support::StampedFrameNumbers(path, 320);
    EXPECT_EQ(static_cast<size_t>(frames), numbers.size());
    EXPECT_TRUE(NumberedFromZero(numbers));

    // RIFF 'AVI ' then 'AVIX' segments, each under the limit, covering the whole file.
    std::ifstream in(WindowsPathA(path), std::ios::binary);
    const ULONGLONG fileSize = static_cast<ULONGLONG>(support::FileSize(WindowsPathA(path)));
    std::vector<Chunk> riffs = ChunksIn(in, 0, fileSize);
    ASSERT_EQ(written.segments, riffs.size());
    for (size_t i = 0; i < riffs.size(); ++i)
    {
        EXPECT_EQ(kRiff, riffs[i].fcc);
        EXPECT_EQ(i == 0 ? FourCC("AVI ") : FourCC("AVIX"), riffs[i].type);
        EXPECT_LT(riffs[i].size + 8ULL, limit);
    }
    EXPECT_EQ(fileSize, riffs.back().at + 8 + riffs.back().size);

    // The first segment: hdrl, movi, and an idx1 entry for each of its frames.
    std::vector<Chunk> first = ChunksIn(in, 12, 8 + riffs[0].size);
    ASSERT_EQ(3u, first.size());
    EXPECT_EQ(FourCC("hdrl"), first[0].type);
    EXPECT_EQ(FourCC("movi"), first[1].type);
    EXPECT_EQ(FourCC("idx1"), first[2].fcc);
    DWORD avihFrames = 0;
    in.seekg(
        static_cast<std::streamoff>(first[0].at + sizeof(RIFFLIST) + offsetof(AVIMAINHEADER, dwTotalFrames)));
    in.read(reinterpret_cast<char*>(&avihFrames), 4);
    EXPECT_GT(avihFrames, 0u);
    EXPECT_EQ(avihFrames * 16, first[2].size);
}

// 642 pixels need padded rows; a negative height is top-down. ffmpeg hands frames back
// top-down and packed: they must equal what was written.
TEST(OpenDmlLayout, PaddedAndTopDownRowsReadBackExactly)
{
    for (LONG height : {480, -480})
    {
        SCOPED_TRACE(height);
        const AviVideoFormat format = Rgb24Format(642, height);
        const std::string path = ScratchDirUnix() + "/rows.avi";
        ASSERT_EQ(S_OK, WriteStampedAvi(path, format, 3).hr);
        const std::string raw = path + ".bgr";
        support::UnixResult decode =
            support::RunUnix("ffmpeg -y -v error -i " + path + " -f rawvideo -pix_fmt bgr24 " + raw, 60000);
        ASSERT_EQ(0, decode.exitCode) << decode.output;
        std::ifstream in(WindowsPathA(raw), std::ios::binary);
        std::vector<BYTE> decoded((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<BYTE> expected;
        for (uint32_t n = 0; n < 3; ++n)
        {
            std::vector<BYTE> packed = TopDownPacked(format, StampedFrame(format, n));
            expected.insert(expected.end(), packed.begin(), packed.end());
        }
        EXPECT_TRUE(decoded == expected)
            << "decoded " << decoded.size() << " bytes, expected " << expected.size();
    }
}

TEST(OpenDmlLayout, FrameRateFromTheFrameDuration)
{
    const struct
    {
        REFERENCE_TIME duration;
        const char* rate;
    } cases[] = {{0, "30/1"}, {333667, "30000/1001"}, {666666, "15/1"}, {400000, "25/1"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.duration);
        const std::string path = ScratchDirUnix() + "/rate.avi";
        ASSERT_EQ(S_OK, WriteStampedAvi(path, Rgb24Format(320, 240, c.duration), 5).hr);
        support::VideoProbe info = support::ProbeVideo(path);
        EXPECT_EQ(c.rate, info.frameRate) << info.log;
        EXPECT_EQ(5, info.decodedFrames);
    }
}

}  // namespace
