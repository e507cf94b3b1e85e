// What the mux takes from a connection's media type: the header it writes, the frame
// duration, and no read past a format block that is too short for what it claims.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include <vector>

#include "avimux/VideoFormatOf.h"

namespace
{

struct TypeWithBlock
{
    AM_MEDIA_TYPE type = {};
    std::vector<BYTE> block;

    TypeWithBlock(const GUID& formatType, size_t blockBytes) : block(blockBytes)
    {
        type.majortype = MEDIATYPE_Video;
        type.subtype = MEDIASUBTYPE_RGB24;
        type.formattype = formatType;
        type.cbFormat = static_cast<ULONG>(block.size());
        type.pbFormat = block.data();
    }
    BITMAPINFOHEADER& Header(size_t at) { return *reinterpret_cast<BITMAPINFOHEADER*>(block.data() + at); }
};

void Rgb24(BITMAPINFOHEADER& bmi, LONG width, LONG height)
{
    bmi = {sizeof(bmi), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
}

TEST(VideoFormatOf, TakesVideoInfoAndVideoInfo2AsConnected)
{
    TypeWithBlock info(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER));
    Rgb24(info.Header(offsetof(VIDEOINFOHEADER, bmiHeader)), 642, -480);
    reinterpret_cast<VIDEOINFOHEADER*>(info.block.data())->AvgTimePerFrame = 666666;
    AviVideoFormat format;
    ASSERT_EQ(S_OK, VideoFormatOf(info.type, &format));
    EXPECT_EQ(-480, format.Header().biHeight);
    EXPECT_EQ(666666, format.frameDuration);
    EXPECT_EQ(1928u * 480, ConnectedFrameBytes(format.Header()));  // rows padded to 4 bytes

    TypeWithBlock info2(FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2));
    Rgb24(info2.Header(offsetof(VIDEOINFOHEADER2, bmiHeader)), 640, 480);
    ASSERT_EQ(S_OK, VideoFormatOf(info2.type, &format));
    EXPECT_EQ(640, format.Header().biWidth);
    EXPECT_EQ(0, format.frameDuration);  // the writer's default rate applies
}

TEST(VideoFormatOf, RefusesWhatItCannotDescribeSafely)
{
    AviVideoFormat format;
    TypeWithBlock shortBlock(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER) - 1);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(shortBlock.type, &format));

    TypeWithBlock bigHeader(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER));
    Rgb24(bigHeader.Header(offsetof(VIDEOINFOHEADER, bmiHeader)), 640, 480);
    bigHeader.Header(offsetof(VIDEOINFOHEADER, bmiHeader)).biSize = 4096;  // claims more than the block holds
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(bigHeader.type, &format));

    TypeWithBlock empty(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER));
    Rgb24(empty.Header(offsetof(VIDEOINFOHEADER, bmiHeader)), 0, 480);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(empty.type, &format));

    TypeWithBlock audio(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER));
    Rgb24(audio.Header(offsetof(VIDEOINFOHEADER, bmiHeader)), 640, 480);
    audio.type.majortype = MEDIATYPE_Audio;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(audio.type, &format));

    TypeWithBlock noBlock(FORMAT_VideoInfo, 0);
    noBlock.type.pbFormat = nullptr;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(noBlock.type, &format));
}

// The subtype must say what the header says (the chunks are '00db' or '00dc' by it),
// only RGB runs top-down, and no frame may be too large for a segment to index.
TEST(VideoFormatOf, RefusesWhatItCouldNotIndexCorrectly)
{
    AviVideoFormat format;
    TypeWithBlock mjpg(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER));
    BITMAPINFOHEADER& bmi = mjpg.Header(offsetof(VIDEOINFOHEADER, bmiHeader));
    bmi = {sizeof(bmi), 1280, 960, 1, 24, MEDIASUBTYPE_MJPG.Data1, 1280 * 960 * 3, 0, 0, 0, 0};
    mjpg.type.subtype = MEDIASUBTYPE_MJPG;
    ASSERT_EQ(S_OK, VideoFormatOf(mjpg.type, &format));

    mjpg.type.subtype = MEDIASUBTYPE_YUY2;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(mjpg.type, &format));
    mjpg.type.subtype = MEDIASUBTYPE_RGB24;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(mjpg.type, &format));
    mjpg.type.subtype = MEDIASUBTYPE_MJPG;
    bmi.biHeight = -960;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(mjpg.type, &format));
    bmi.biHeight = 960;
    bmi.biSizeImage = 1100u << 20;
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, VideoFormatOf(mjpg.type, &format));
    bmi.biSizeImage = 0;  // compressed frames of unknown size: bounded by 24-bit pixels
    ASSERT_EQ(S_OK, VideoFormatOf(mjpg.type, &format));
    EXPECT_EQ(1280u * 960 * 3, ConnectedFrameBytes(format.Header()));
}

}  // namespace
