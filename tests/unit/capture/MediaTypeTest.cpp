#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include <gtest/gtest.h>

#include "capture/FrameSize.h"
#include "capture/MediaTypeRecord.h"
#include "support/CountedUnknown.h"

namespace
{
using support::CountedUnknown;

BYTE* TaskBlock(size_t size)
{
    BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(size));
    ZeroMemory(block, size);
    return block;
}

TEST(MediaTypeRecord, StartsAsAnAnyFormatFixedSizeRecord)
{
    MediaTypeRecord record;
    EXPECT_TRUE(IsEqualGUID(GUID_NULL, record.majortype));
    EXPECT_TRUE(IsEqualGUID(GUID_NULL, record.formattype));
    EXPECT_EQ(TRUE, record.bFixedSizeSamples);
    EXPECT_EQ(FALSE, record.bTemporalCompression);
    EXPECT_EQ(1u, record.lSampleSize);
    EXPECT_EQ(nullptr, record.pbFormat);
    record.SetMajorType(MEDIATYPE_Video);
    record.SetSubtype(MEDIASUBTYPE_RGB24);
    EXPECT_TRUE(IsEqualGUID(MEDIATYPE_Video, record.majortype));
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_RGB24, record.subtype));
}

TEST(MediaTypeRecord, FreeingGoesByTheFormatCountAndReleasesTheObject)
{
    CountedUnknown unknown;
    AM_MEDIA_TYPE type{};
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = TaskBlock(type.cbFormat);
    type.pUnk = &unknown;
    unknown.AddRef();
    FreeMediaTypeContents(type);
    EXPECT_EQ(0u, type.cbFormat);
    EXPECT_EQ(nullptr, type.pbFormat);
    EXPECT_EQ(nullptr, type.pUnk);
    EXPECT_EQ(1u, unknown.references);

    // A block that the count does not announce is not the record's to free.
    BYTE stray[4];
    type.pbFormat = stray;
    FreeMediaTypeContents(type);
    EXPECT_EQ(stray, type.pbFormat);

    {
        MediaTypeRecord record;
        record.cbFormat = 88;
        record.pbFormat = TaskBlock(88);
        record.pUnk = &unknown;
        unknown.AddRef();
    }
    EXPECT_EQ(1u, unknown.references);

    AM_MEDIA_TYPE* allocated = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    *allocated = AM_MEDIA_TYPE{};
    allocated->cbFormat = 16;
    allocated->pbFormat = TaskBlock(16);
    allocated->pUnk = &unknown;
    unknown.AddRef();
    DeleteMediaTypeRecord(allocated);
    DeleteMediaTypeRecord(nullptr);
    EXPECT_EQ(1u, unknown.references);
}

TEST(FrameSize, ReadsOnlyWholeVideoHeaders)
{
    LONG width = 0;
    LONG height = 0;
    MediaTypeRecord info;
    info.formattype = FORMAT_VideoInfo;
    info.cbFormat = sizeof(VIDEOINFOHEADER);
    info.pbFormat = TaskBlock(info.cbFormat);
    reinterpret_cast<VIDEOINFOHEADER*>(info.pbFormat)->bmiHeader.biWidth = 640;
    reinterpret_cast<VIDEOINFOHEADER*>(info.pbFormat)->bmiHeader.biHeight = -480;
    ASSERT_TRUE(ReadFrameSize(info, &width, &height));
    EXPECT_EQ(640, width);
    EXPECT_EQ(-480, height);

    MediaTypeRecord info2;
    info2.formattype = FORMAT_VideoInfo2;
    info2.cbFormat = sizeof(VIDEOINFOHEADER2);
    info2.pbFormat = TaskBlock(info2.cbFormat);
    reinterpret_cast<VIDEOINFOHEADER2*>(info2.pbFormat)->bmiHeader.biWidth = 320;
    reinterpret_cast<VIDEOINFOHEADER2*>(info2.pbFormat)->bmiHeader.biHeight = 240;
    ASSERT_TRUE(ReadFrameSize(info2, &width, &height));
    EXPECT_EQ(320, width);
    EXPECT_EQ(240, height);

    // Too short for its structure, a VideoInfo2 block announced as VideoInfo and back,
    // or another format altogether.
    info.cbFormat = sizeof(VIDEOINFOHEADER) - 1;
    EXPECT_FALSE(ReadFrameSize(info, &width, &height));
    info.cbFormat = sizeof(VIDEOINFOHEADER);
    info.formattype = FORMAT_VideoInfo2;
    EXPECT_FALSE(ReadFrameSize(info, &width, &height));
    info.formattype = FORMAT_WaveFormatEx;
    EXPECT_FALSE(ReadFrameSize(info, &width, &height));
    MediaTypeRecord empty;
    empty.formattype = FORMAT_VideoInfo;
    EXPECT_FALSE(ReadFrameSize(empty, &width, &height));
    EXPECT_EQ(320, width);
}
}  // namespace
