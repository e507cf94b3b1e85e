// Each camera subtype through the prefix's decoders, chosen by the filter graph's
// intelligent connect, into a sample grabber that wants RGB24 (as the program's preview
// builds it): the decoder Windows would use, the size, the bars' colours and the frame
// stamps and sample times in order.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <vector>

#include "FrameSource.h"
#include "DecodeGraph.h"
#include "JpegFrames.h"
#include "YuvBars.h"
#include "comkit/ComApartment.h"

using Microsoft::WRL::ComPtr;

namespace
{

constexpr LONG kWidth = 640, kHeight = 480;
constexpr int kFrames = 8;
constexpr uint32_t kFirstNumber = 500;
constexpr REFERENCE_TIME kInterval = 333333;

struct Subtype
{
    const char* name;
    DWORD fourcc;
    WORD bitCount;
    decoders::YuvLayout layout;  // not used for MJPG
    const CLSID* decoder;        // the filter the graph should insert
    int tolerance;
};

const Subtype kSubtypes[] = {
    {"YUY2", MAKEFOURCC('Y', 'U', 'Y', '2'), 16, decoders::YuvLayout::Yuy2, &CLSID_AVIDec, 2},
    {"UYVY", MAKEFOURCC('U', 'Y', 'V', 'Y'), 16, decoders::YuvLayout::Uyvy, &CLSID_AVIDec, 2},
    {"YVYU", MAKEFOURCC('Y', 'V', 'Y', 'U'), 16, decoders::YuvLayout::Yvyu, &CLSID_AVIDec, 2},
    {"I420", MAKEFOURCC('I', '4', '2', '0'), 12, decoders::YuvLayout::I420, &CLSID_AVIDec, 2},
    {"IYUV", MAKEFOURCC('I', 'Y', 'U', 'V'), 12, decoders::YuvLayout::I420, &CLSID_AVIDec, 2},
    {"NV12", MAKEFOURCC('N', 'V', '1', '2'), 12, decoders::YuvLayout::Nv12, &CLSID_AVIDec, 2},
    {"MJPG", MAKEFOURCC('M', 'J', 'P', 'G'), 24, decoders::YuvLayout::Yuy2, &CLSID_MjpegDec, 10},
};

std::vector<BYTE> MakeFrame(const Subtype& subtype, uint32_t number)
{
    if (*subtype.decoder == CLSID_MjpegDec)
        return testframes::EncodeJpeg(testframes::MakeBarsBgr(kWidth, kHeight, number), kWidth, kHeight);
    return testframes::MakeBarsFrame(subtype.layout, kWidth, kHeight, number);
}

class DecodeGraphTest : public ::testing::TestWithParam<Subtype>
{
protected:
    // Source of the subtype -> what the graph inserts -> grabber, checked and running.
    void Start(const Subtype& subtype)
    {
        const DWORD largest = static_cast<DWORD>(kWidth * kHeight * 3);
        ASSERT_EQ(S_OK, testsource::CreateFrameSource(
                            testsource::VideoType(subtype.fourcc, kWidth, kHeight, subtype.bitCount, largest),
                            &m_filter, &m_source));
        ASSERT_EQ(S_OK, m_graph.Build(m_filter.Get(), &m_grabber, false));
        EXPECT_TRUE(m_graph.Holds(*subtype.decoder));
        EXPECT_EQ(kWidth, m_grabber.width);
        EXPECT_EQ(kHeight, m_grabber.height);
        ASSERT_EQ(S_OK, m_graph.graph.As(&m_control));
        ASSERT_TRUE(SUCCEEDED(m_control->Run()));
    }

    HRESULT Send(int index, const std::vector<BYTE>& frame)
    {
        return testsource::SendFrame(m_source, frame, index * kInterval, (index + 1) * kInterval);
    }

    comkit::ComApartment m_com;
    ComPtr<IBaseFilter> m_filter;
    testsource::FrameSource* m_source = nullptr;
    DecodedFrames m_grabber;
    DecodeGraph m_graph;
    ComPtr<IMediaControl> m_control;
};

TEST_P(DecodeGraphTest, DecodedToRgb24InOrderWithTheBarsColours)
{
    const Subtype& subtype = GetParam();
    ASSERT_NO_FATAL_FAILURE(Start(subtype));
    for (int i = 0; i < kFrames; ++i)
        ASSERT_EQ(S_OK, Send(i, MakeFrame(subtype, kFirstNumber + i)));
    ASSERT_TRUE(m_grabber.WaitFor(kFrames));
    m_control->Stop();

    const std::vector<DecodedFrame> frames = m_grabber.Frames();
    for (int i = 0; i < kFrames; ++i)
    {
        EXPECT_TRUE(frames[i].numbered) << i;
        EXPECT_EQ(kFirstNumber + i, frames[i].number);
        EXPECT_EQ(i * kInterval, frames[i].start);
    }
    for (int bar = 0; bar < testframes::kBarCount; ++bar)
    {
        const decoders::Rgb &want = testframes::kBarsRgb[bar], &got = frames[0].bars[bar];
        EXPECT_NEAR(want.r, got.r, subtype.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.g, got.g, subtype.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.b, got.b, subtype.tolerance) << "bar " << bar;
    }
}

// A camera's damaged JPEG is dropped; the stream goes on with the next frame.
TEST_F(DecodeGraphTest, DamagedMjpgFrameIsDroppedAndTheStreamGoesOn)
{
    const Subtype& mjpg = kSubtypes[ARRAYSIZE(kSubtypes) - 1];
    ASSERT_NO_FATAL_FAILURE(Start(mjpg));
    std::vector<BYTE> damaged = MakeFrame(mjpg, kFirstNumber + 1);
    damaged[1] = 0;  // no start-of-image marker
    EXPECT_EQ(S_OK, Send(0, MakeFrame(mjpg, kFirstNumber)));
    EXPECT_EQ(S_OK, Send(1, damaged));
    EXPECT_EQ(S_OK, Send(2, MakeFrame(mjpg, kFirstNumber + 2)));
    ASSERT_TRUE(m_grabber.WaitFor(2));
    m_control->Stop();
    const std::vector<DecodedFrame> frames = m_grabber.Frames();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(kFirstNumber, frames[0].number);
    EXPECT_EQ(kFirstNumber + 2, frames[1].number);
}

INSTANTIATE_TEST_SUITE_P(Decoders, DecodeGraphTest, ::testing::ValuesIn(kSubtypes),
                         [](const ::testing::TestParamInfo<Subtype>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
