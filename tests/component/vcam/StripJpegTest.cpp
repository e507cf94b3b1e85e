// The camera's MJPG frames joined from strips decode, through WIC and through ffmpeg,
// to exactly what the same picture encoded whole decodes to: also with strips kept from
// the frame before, a width that is no whole number of MCUs and a short last strip.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "comkit/ComApartment.h"
#include "decoders/WicJpegDecoder.h"
#include "support/TempFolder.h"
#include "support/VideoProbe.h"
#include "unixtools/UnixTools.h"
#include "vcam/filter/StripJpegEncoder.h"
#include "vcam/frame/FrameGenerator.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

constexpr LONG kWidth = 400, kHeight = 100;  // 25 MCUs wide; 6 strips of 16 rows and one of 4

std::vector<BYTE> Encoded(const std::vector<BYTE>& bgr, bool strips, StripJpegEncoder* encoder)
{
    std::vector<BYTE> jpeg(bgr.size());
    LONG length = 0;
    JpegEncoder whole;
    const HRESULT hr = strips ? encoder->Encode(bgr.data(), kWidth, kHeight, kWidth * 3, jpeg.data(),
                                                static_cast<LONG>(jpeg.size()), &length)
                              : whole.Encode(bgr.data(), kWidth, kHeight, kWidth * 3, jpeg.data(),
                                             static_cast<LONG>(jpeg.size()), &length);
    EXPECT_EQ(S_OK, hr);
    jpeg.resize(SUCCEEDED(hr) ? static_cast<size_t>(length) : 0);
    return jpeg;
}

std::vector<BYTE> WicDecoded(const std::vector<BYTE>& jpeg)
{
    decoders::WicJpegDecoder decoder;
    std::vector<BYTE> dib(decoders::RgbFrameBytes(kWidth, kHeight, 24));
    EXPECT_EQ(S_OK, decoder.Start());
    EXPECT_EQ(S_OK, decoder.Decode(jpeg.data(), jpeg.size(), {dib.data(), dib.size(), kWidth, kHeight, 24}));
    return dib;
}

std::string FfmpegFrameHashes(const std::string& unixFile)
{
    const support::UnixResult run =
        support::RunUnix("ffmpeg -v error -i " + support::ShellQuote(unixFile) + " -f framemd5 - | grep -v '^#'");
    EXPECT_EQ(0, run.exitCode) << run.output;
    return run.output;
}

TEST(StripJpeg, DecodesAsThePictureEncodedWhole)
{
    comkit::ComApartment com(COINIT_MULTITHREADED);
    support::TempFolder dir("strip-jpeg");
    std::ofstream stripFile(dir.WindowsFile("strips.mjpeg"), std::ios::binary);
    std::ofstream wholeFile(dir.WindowsFile("whole.mjpeg"), std::ios::binary);
    FrameGenerator generator;
    SceneSettings bars;
    bars.pattern = ScenePattern::ColourBars;
    StripJpegEncoder strips;
    for (uint32_t number : {41u, 42u})  // the second keeps every strip below the stamp and digits
    {
        std::vector<BYTE> bgr(static_cast<size_t>(kWidth) * 3 * kHeight);
        generator.Render(Rgb24Layout(kWidth, -kHeight), bgr.data(), number, bars);
        const std::vector<BYTE> joined = Encoded(bgr, true, &strips);
        const std::vector<BYTE> whole = Encoded(bgr, false, nullptr);
        const std::vector<BYTE> dib = WicDecoded(joined);
        EXPECT_TRUE(dib == WicDecoded(whole)) << "frame " << number;
        uint32_t stamp = 0;
        EXPECT_TRUE(ReadFrameNumberFromDib(dib.data(), kWidth, kHeight, &stamp));
        EXPECT_EQ(number, stamp);
        stripFile.write(reinterpret_cast<const char*>(joined.data()), static_cast<std::streamsize>(joined.size()));
        wholeFile.write(reinterpret_cast<const char*>(whole.data()), static_cast<std::streamsize>(whole.size()));
    }
    stripFile.close();
    wholeFile.close();
    const support::VideoProbe probe = support::ProbeVideo(dir.UnixFile("strips.mjpeg"));
    EXPECT_EQ("mjpeg", probe.codec);
    EXPECT_EQ(kWidth, probe.width);
    EXPECT_EQ(kHeight, probe.height);
    EXPECT_EQ((std::vector<uint32_t>{41, 42}), support::StampedFrameNumbers(dir.UnixFile("strips.mjpeg"), kWidth));
    const std::string hashes = FfmpegFrameHashes(dir.UnixFile("strips.mjpeg"));
    EXPECT_EQ(FfmpegFrameHashes(dir.UnixFile("whole.mjpeg")), hashes);
    EXPECT_FALSE(hashes.empty());
}

}  // namespace
