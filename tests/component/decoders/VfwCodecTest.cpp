// The prefix's YUV codec as Wine's AVI Decompressor reaches it: found through msvfw32
// for each FOURCC, decoding the colour bars and the camera's stamp; it and the MJPEG
// decompressor's WIC decoding agree with ffmpeg decoding the same bytes.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "JpegFrames.h"
#include "YuvBars.h"
#include "comkit/ComApartment.h"
#include "decoders/WicJpegDecoder.h"
#include "unixtools/UnixTools.h"
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

// What the AVI Decompressor does with a frame: locate by the media type's FOURCC, begin,
// decompress to upright RGB24.
std::vector<BYTE> DecompressAsAviDec(const Subtype& subtype, std::vector<BYTE> frame)
{
    BITMAPINFOHEADER in =
        testframes::BitmapHeader(Fourcc(subtype.fourcc), kWidth, kHeight, subtype.bitCount, frame.size());
    std::vector<BYTE> rgb(decoders::RgbFrameBytes(kWidth, kHeight, 24));
    BITMAPINFOHEADER out = testframes::BitmapHeader(BI_RGB, kWidth, kHeight, 24, rgb.size());
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
    BITMAPINFOHEADER mjpg = testframes::BitmapHeader(Fourcc("MJPG"), kWidth, kHeight, 24, 0);
    HIC codec = ICOpen(ICTYPE_VIDEO, Fourcc("YUY2"), ICMODE_DECOMPRESS);
    ASSERT_NE(nullptr, codec);
    EXPECT_NE(ICERR_OK, ICDecompressQuery(codec, &mjpg, nullptr));
    BITMAPINFOHEADER yuy2 = testframes::BitmapHeader(Fourcc("YUY2"), kWidth, kHeight, 16, 0);
    BITMAPINFOHEADER rgb565 = testframes::BitmapHeader(BI_RGB, kWidth, kHeight, 16, 0);
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

struct Agreement
{
    double mean;
    long long apart;  // samples more than 4 levels apart
    int worst;
};

// Ours is an upright DIB (bottom row first), ffmpeg's rows top down.
Agreement Compare(const std::vector<BYTE>& ours, const std::vector<BYTE>& theirs)
{
    const size_t stride = kWidth * 3;
    Agreement a = {0, 0, 0};
    long long total = 0;
    for (LONG y = 0; y < kHeight; ++y)
    {
        for (size_t i = 0; i < stride; ++i)
        {
            const int d = std::abs(ours[(kHeight - 1 - y) * stride + i] - theirs[y * stride + i]);
            total += d;
            a.apart += d > 4;
            a.worst = std::max(a.worst, d);
        }
    }
    a.mean = static_cast<double>(total) / ours.size();
    return a;
}

void ExpectAgreement(const char* what, const std::vector<BYTE>& ours, const std::vector<BYTE>& theirs)
{
    ASSERT_EQ(ours.size(), theirs.size()) << what;
    const Agreement a = Compare(ours, theirs);
    printf("%s against ffmpeg: mean difference %.3f, %lld of %zu samples more than 4 apart, largest %d\n",
           what, a.mean, a.apart, ours.size(), a.worst);
    EXPECT_LT(a.mean, 1.0) << what;
    EXPECT_LT(a.apart, static_cast<long long>(ours.size() / 100)) << what;
}

TEST(VfwCodec, AgreesWithFfmpegOnTheSameBytes)
{
    support::TempFolder dir("decoders");
    for (const Subtype& subtype : kSubtypes)
    {
        const std::vector<BYTE> frame = testframes::MakeFrame(subtype.layout, kWidth, kHeight, RampsAndBars);
        ExpectAgreement(subtype.fourcc, DecompressAsAviDec(subtype, frame), FfmpegBgr(subtype, frame, dir));
    }
}

// The MJPEG decompressor's decoding (WIC) against ffmpeg's on the same JPEG bytes.
TEST(WicJpeg, AgreesWithFfmpegOnTheSameBytes)
{
    comkit::ComApartment com;
    support::TempFolder dir("decoders");
    std::vector<BYTE> bgr(static_cast<size_t>(kWidth) * kHeight * 3);
    for (LONG y = 0; y < kHeight; ++y)
    {
        for (LONG x = 0; x < kWidth; ++x)
        {
            const testframes::YCbCr c = RampsAndBars(x, y);
            const decoders::Rgb rgb = decoders::Bt601ToRgb(c.y, c.cb, c.cr);
            BYTE* px = &bgr[(static_cast<size_t>(y) * kWidth + x) * 3];
            px[0] = rgb.b, px[1] = rgb.g, px[2] = rgb.r;
        }
    }
    const std::vector<BYTE> jpeg = testframes::EncodeJpeg(bgr, kWidth, kHeight);
    ASSERT_FALSE(jpeg.empty());
    decoders::WicJpegDecoder wic;
    ASSERT_EQ(S_OK, wic.Start());
    std::vector<BYTE> ours(decoders::RgbFrameBytes(kWidth, kHeight, 24));
    ASSERT_EQ(S_OK, wic.Decode(jpeg.data(), jpeg.size(), {ours.data(), ours.size(), kWidth, kHeight, 24}));

    const std::string in = dir.UnixFile("frame.jpg"), out = dir.UnixFile("frame.bgr");
    std::ofstream(support::WindowsPathOfUnix(in), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    const support::UnixResult run =
        support::RunUnix("ffmpeg -v error -y -f mjpeg -i " + support::ShellQuote(in) +
                         " -f rawvideo -pix_fmt bgr24 " + support::ShellQuote(out));
    ASSERT_EQ(0, run.exitCode) << run.output;
    ExpectAgreement("MJPG", ours, support::ReadFileBytes(support::WindowsPathOfUnix(out)));
}

}  // namespace
