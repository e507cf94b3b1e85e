#include <gtest/gtest.h>

#include "vcam/registry/DeviceSettings.h"

namespace
{

bool Same(const std::vector<VideoFormat>& a, const std::vector<VideoFormat>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].width != b[i].width || a[i].height != b[i].height)
            return false;
    return true;
}

TEST(FormatsText, ParsesSizesAndTopDownHeights)
{
    std::vector<VideoFormat> formats;
    ASSERT_TRUE(ParseFormats(L"640x480,320x240,640x-480", &formats));
    EXPECT_TRUE(Same(formats, {{640, 480}, {320, 240}, {640, -480}}));
    ASSERT_TRUE(ParseFormats(L"642x480", &formats));
    EXPECT_TRUE(Same(formats, {{642, 480}}));
}

TEST(FormatsText, PrintsWhatItParses)
{
    const std::wstring text = FormatsToText(DefaultFormats());
    EXPECT_EQ(L"640x480,320x240,1280x960,642x480,640x-480", text);
    std::vector<VideoFormat> back;
    ASSERT_TRUE(ParseFormats(text, &back));
    EXPECT_TRUE(Same(back, DefaultFormats()));
}

TEST(FormatsText, RejectsMalformedListsAndLeavesOutputAlone)
{
    const wchar_t* bad[] = {L"",         L"640",          L"640x",          L"x480",      L"640x480,",
                            L",640x480", L"640x480,,1x1", L"0x480",         L"640x0",     L"640x-0",
                            L"-640x480", L"640x480junk",  L"640X480",       L" 640x480",  L"640x 480",
                            L"4097x480", L"640x99999",    L"99999999999x1", L"640x--480", L"640x480;320x240"};
    for (const wchar_t* text : bad)
    {
        std::vector<VideoFormat> formats = {{1, 2}};
        EXPECT_FALSE(ParseFormats(text, &formats)) << text;
        EXPECT_TRUE(Same(formats, {{1, 2}})) << text;
    }
    EXPECT_FALSE(ParseFormats(L"640x480", nullptr));
    std::vector<VideoFormat> largest;
    EXPECT_TRUE(ParseFormats(L"4096x-4096", &largest));
}

TEST(FormatsText, SubtypesPrefixSizesAndRGB24StaysPlain)
{
    std::vector<VideoFormat> formats;
    ASSERT_TRUE(ParseFormats(L"YUY2:640x480,MJPG:1280x960,RGB24:320x240,NV12:2x2,UYVY:8x8,I420:4x2", &formats));
    ASSERT_EQ(6u, formats.size());
    EXPECT_EQ(VideoSubtype::Yuy2, formats[0].subtype);
    EXPECT_EQ(VideoSubtype::Mjpg, formats[1].subtype);
    EXPECT_EQ(VideoSubtype::Rgb24, formats[2].subtype);
    EXPECT_EQ(L"YUY2:640x480,MJPG:1280x960,320x240,NV12:2x2,UYVY:8x8,I420:4x2", FormatsToText(formats));
    for (const wchar_t* text : {L"YUY2:641x480", L"I420:640x481", L"YUY2:640x-480", L"yuy2:640x480",
                                L"H264:640x480", L":640x480", L"YUY2640x480"})
        EXPECT_FALSE(ParseFormats(text, &formats)) << text;
}

TEST(FormatsText, ProfilesAreShapedLikeRealDevices)
{
    std::vector<VideoFormat> webcam, nightSky;
    ASSERT_TRUE(ProfileFormats(L"webcam", &webcam));
    ASSERT_TRUE(ProfileFormats(L"night-sky", &nightSky));
    EXPECT_FALSE(ProfileFormats(L"camcorder", &webcam));
    for (const VideoFormat& format : webcam)
    {
        EXPECT_NE(VideoSubtype::Rgb24, format.subtype);
        if (format.subtype == VideoSubtype::Mjpg)
            EXPECT_GE(format.width, 1280) << "MJPG only at the large sizes";
    }
    for (const VideoFormat& format : nightSky)
        EXPECT_TRUE(format.subtype == VideoSubtype::Rgb24 || format.subtype == VideoSubtype::Yuy2);
}

TEST(FaultsText, NamesEachFaultAndRoundTrips)
{
    unsigned faults = 99;
    ASSERT_TRUE(ParseFaults(L"no-stream-config,no-pages", &faults));
    EXPECT_EQ(VcamFault::NoStreamConfig | VcamFault::NoPropertyPages, faults);
    ASSERT_TRUE(ParseFaults(L"", &faults));
    EXPECT_EQ(0u, faults);

    const unsigned all = VcamFault::NoStreamConfig | VcamFault::NoCapabilities |
                         VcamFault::GetStreamCapsFails | VcamFault::GetFormatFails |
                         VcamFault::NoPropertyPages;
    EXPECT_EQ(L"no-stream-config,no-caps,caps-fail,format-fail,no-pages", FaultsToText(all));
    ASSERT_TRUE(ParseFaults(FaultsToText(all), &faults));
    EXPECT_EQ(all, faults);
    EXPECT_EQ(L"", FaultsToText(0));
}

TEST(FaultsText, RejectsUnknownNames)
{
    for (const wchar_t* text :
         {L"bogus", L"no-caps,", L"no-caps,,caps-fail", L"No-Caps", L",", L"no-caps bogus"})
    {
        unsigned faults = 7;
        EXPECT_FALSE(ParseFaults(text, &faults)) << text;
        EXPECT_EQ(7u, faults) << text;
    }
}

TEST(SecondsText, ParsesDecimalSecondsInto100nsUnits)
{
    LONGLONG time = -1;
    ASSERT_TRUE(ParseSeconds(L"4", MaxExposure, &time));
    EXPECT_EQ(40000000, time);
    ASSERT_TRUE(ParseSeconds(L"0.25", MaxExposure, &time));
    EXPECT_EQ(2500000, time);
    ASSERT_TRUE(ParseSeconds(L"10.000001", MaxExposure, &time));
    EXPECT_EQ(100000010, time);
    ASSERT_TRUE(ParseSeconds(L"60", MaxExposure, &time));
    EXPECT_EQ(L"60", SecondsToText(time));
    EXPECT_EQ(L"0.25", SecondsToText(2500000));
    EXPECT_EQ(L"0", SecondsToText(0));
}

TEST(SecondsText, RejectsMalformedTimesAndLeavesOutputAlone)
{
    for (const wchar_t* text :
         {L"", L".", L"-1", L"1.2.3", L"0.0000001", L"60.000001", L"1s", L"1,5", L"9999999999999"})
    {
        LONGLONG time = 7;
        EXPECT_FALSE(ParseSeconds(text, MaxExposure, &time)) << text;
        EXPECT_EQ(7, time) << text;
    }
}

TEST(DropBurstText, ReadsFirstFrameAndCount)
{
    unsigned from = 9, count = 9;
    ASSERT_TRUE(ParseDropBurst(L"30:5", &from, &count));
    EXPECT_EQ(30u, from);
    EXPECT_EQ(5u, count);
    for (const wchar_t* text : {L"30", L"30:", L":5", L"3:5:1", L"a:5", L"1:-5", L"1234567890:1"})
        EXPECT_FALSE(ParseDropBurst(text, &from, &count)) << text;
    EXPECT_EQ(30u, from);
}

}  // namespace
