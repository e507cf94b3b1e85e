// The prefix's YUV codec as Wine's AVI Decompressor reaches it: found through msvfw32
// for each FOURCC, decoding the colour bars and the camera's stamp, and agreeing with
// ffmpeg decoding the same bytes.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "YuvBars.h"
#include "driver/UnixTools.h"
#include "support/TempFolder.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

using decoders::YuvLayout;

struct Subtype
{
    const char* fourcc;
    YuvLayout layout;
    WORD bitCount;
    const char* ffmpegFormat;
};

const Subtype kSubtypes[] = {
    {"YUY2", YuvLayout::Yuy2, 16, "yuyv422"}, {"UYVY", YuvLayout::Uyvy, 16, "uyvy422"},
    {"YVYU", YuvLayout::Yvyu, 16, "yvyu422"}, {"I420", YuvLayout::I420, 12, "yuv420p"},
    {"IYUV", YuvLayout::I420, 12, "yuv420p"}, {"NV12", YuvLayout::Nv12, 12, "nv12"},
};

constexpr LONG kWidth = 640, kHeight = 480;

DWORD Fourcc(const char* text)
{
    return mmioFOURCC(text[0], text[1], text[2], text[3]);
}

BITMAPINFOHEADER Header(DWORD compression, LONG height, WORD bitCount, size_t bytes)
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = kWidth;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = compression;
    h.biSizeImage = static_cast<DWORD>(bytes);
    return h;
}

// What the AVI Decompressor does with a frame: locate by the media type's FOURCC, begin,
// decompress to upright RGB24.
std::vector<BYTE> DecompressAsAviDec(const Subtype& subtype, std::vector<BYTE> frame)
{
    BITMAPINFOHEADER in = Header(Fourcc(subtype.fourcc), kHeight, subtype.bitCount, frame.size());
    std::vector<BYTE> rgb(decoders::RgbFrameBytes(kWidth, kHeight, 24));
    BITMAPINFOHEADER out = Header(BI_RGB, kHeight, 24, rgb.size());
    HIC codec = ICLocate(streamtypeVIDEO, Fourcc(subtype.fourcc), &in, nullptr, ICMODE_DECOMPRESS);
    EXPECT_NE(nullptr, codec) << subtype.fourcc;
    if (!codec)
        return {};
    EXPECT_EQ(ICERR_OK, ICDecompressQuery(codec, &in, &out));
    EXPECT_EQ(ICERR_OK, ICDecompressBegin(codec, &in, &out));
    EXPECT_EQ(ICERR_OK, ICDecompress(codec, 0, &in, frame.data(), &out, rgb.data()));
    EXPECT_EQ(ICERR_OK, ICDecompressEnd(codec));
    ICClose(codec);
    return rgb;
}

TEST(VfwCodec, EverySubtypeFoundAndDecodedUpright)
{
    for (const Subtype& subtype : kSubtypes)
    {
        const std::vector<BYTE> rgb =
            DecompressAsAviDec(subtype, testframes::MakeBarsFrame(subtype.layout, kWidth, kHeight, 1000));
        ASSERT_FALSE(rgb.empty()) << subtype.fourcc;
        uint32_t number = 0;
        EXPECT_TRUE(ReadFrameNumberFromDib(rgb.data(), kWidth, kHeight, &number)) << subtype.fourcc;
        EXPECT_EQ(1000u, number) << subtype.fourcc;
        const size_t bottomUpRow = static_cast<size_t>(kHeight - 1 - testframes::kBelowStamp) * kWidth * 3;
        for (int bar = 0; bar < testframes::kBarCount; ++bar)
        {
            const BYTE* px = &rgb[bottomUpRow + testframes::BarMiddle(bar, kWidth) * 3];
            const decoders::Rgb& want = testframes::kBarsRgb[bar];
            EXPECT_NEAR(want.b, px[0], 2) << subtype.fourcc << " bar " << bar;
            EXPECT_NEAR(want.g, px[1], 2) << subtype.fourcc << " bar " << bar;
            EXPECT_NEAR(want.r, px[2], 2) << subtype.fourcc << " bar " << bar;
        }
    }
}

TEST(VfwCodec, OtherFormatsAreLeftToOtherCodecs)
{
    BITMAPINFOHEADER mjpg = Header(Fourcc("MJPG"), kHeight, 24, 0);
    HIC codec = ICOpen(ICTYPE_VIDEO, Fourcc("YUY2"), ICMODE_DECOMPRESS);
    ASSERT_NE(nullptr, codec);
    EXPECT_NE(ICERR_OK, ICDecompressQuery(codec, &mjpg, nullptr));
    BITMAPINFOHEADER yuy2 = Header(Fourcc("YUY2"), kHeight, 16, 0);
    BITMAPINFOHEADER rgb565 = Header(BI_RGB, kHeight, 16, 0);
    EXPECT_NE(ICERR_OK, ICDecompressQuery(codec, &yuy2, &rgb565));
    ICClose(codec);
    EXPECT_EQ(nullptr, ICOpen(ICTYPE_VIDEO, Fourcc("YUY2"), ICMODE_COMPRESS)) << "a decompressor only";
}

// A picture with smooth ramps in all three components besides the bars, so that the
// comparison sees the arithmetic and the chroma interpolation, not only flat colours.
testframes::YCbCr RampsAndBars(LONG x, LONG y)
{
    if (y < kHeight / 2)
        return testframes::kBars[testframes::BarAt(x, kWidth)];
    return {static_cast<BYTE>(16 + x * 219 / kWidth),
            static_cast<BYTE>(16 + (y - kHeight / 2) * 224 / (kHeight / 2)),
            static_cast<BYTE>(240 - x * 224 / kWidth)};
}

// ffmpeg told where the chroma sits (MPEG-2: with the even pixel, between 4:2:0 rows)
// and to interpolate it, as the codec does. It still blends 4:2:0 chroma rows its own
// way (half and half on the row after the edge), so sharp vertical chroma edges differ;
// the comparison allows those few rows.
std::vector<BYTE> FfmpegBgr(const Subtype& subtype, const std::vector<BYTE>& frame,
                            const support::TempFolder& dir)
{
    const std::string in = dir.UnixFile(std::string(subtype.fourcc) + ".yuv");
    const std::string out = dir.UnixFile(std::string(subtype.fourcc) + ".bgr");
    std::ofstream(support::WindowsPathOfUnix(in), std::ios::binary)
        .write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    const support::UnixResult run = support::RunUnix(
        "ffmpeg -v error -y -f rawvideo -pix_fmt " + std::string(subtype.ffmpegFormat) + " -s " +
        std::to_string(kWidth) + "x" + std::to_string(kHeight) + " -i " + support::ShellQuote(in) +
        " -vf scale=in_h_chr_pos=0:in_v_chr_pos=" + (decoders::IsPlanar(subtype.layout) ? "128" : "0") +
        ":in_range=tv:in_color_matrix=bt601:flags=bilinear+accurate_rnd+"
        "full_chroma_int+full_chroma_inp -f rawvideo -pix_fmt bgr24 " +
        support::ShellQuote(out));
    EXPECT_EQ(0, run.exitCode) << run.output;
    return support::ReadFileBytes(support::WindowsPathOfUnix(out));
}

TEST(VfwCodec, AgreesWithFfmpegOnTheSameBytes)
{
    support::TempFolder dir("decoders");
    for (const Subtype& subtype : kSubtypes)
    {
        const std::vector<BYTE> frame = testframes::MakeFrame(subtype.layout, kWidth, kHeight, RampsAndBars);
        const std::vector<BYTE> ours = DecompressAsAviDec(subtype, frame);
        const std::vector<BYTE> theirs = FfmpegBgr(subtype, frame, dir);
        ASSERT_EQ(ours.size(), theirs.size()) << subtype.fourcc;
        // Ours is an upright DIB (bottom row first), ffmpeg's top down.
        const size_t stride = kWidth * 3;
        long long total = 0, apart = 0;
        int worst = 0;
        for (LONG y = 0; y < kHeight; ++y)
        {
            for (size_t i = 0; i < stride; ++i)
            {
                const int d = std::abs(ours[(kHeight - 1 - y) * stride + i] - theirs[y * stride + i]);
                total += d;
                apart += d > 4;
                worst = std::max(worst, d);
            }
        }
        const double mean = static_cast<double>(total) / ours.size();
        printf("%s against ffmpeg: mean difference %.3f, %lld of %zu samples more than 4 apart, largest %d\n",
               subtype.fourcc, mean, apart, ours.size(), worst);
        EXPECT_LT(mean, 1.0) << subtype.fourcc;
        EXPECT_LT(apart, static_cast<long long>(ours.size() / 100)) << subtype.fourcc;
    }
}

}  // namespace
