// The virtual camera's own subtypes (its 75% colour bars) through the prefix's decoders,
// as the program's preview meets a USB camera: the decoder Windows would use, the size,
// the bars' colours and the stamps in order.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "CameraDevice.h"
#include "DecodeGraph.h"
#include "comkit/ComApartment.h"
#include "vcam/frame/ColourBars.h"

using Microsoft::WRL::ComPtr;

namespace
{

struct CameraCase
{
    const char* name;
    VideoSubtype subtype;
    LONG width, height;
    const CLSID* decoder;
    int tolerance;  // the camera's own rounding into YUV, or JPEG's loss, and ours
};

const CameraCase kCameraCases[] = {
    {"YUY2", VideoSubtype::Yuy2, 640, 480, &CLSID_AVIDec, 3},
    {"UYVY", VideoSubtype::Uyvy, 640, 480, &CLSID_AVIDec, 3},
    {"I420", VideoSubtype::I420, 640, 480, &CLSID_AVIDec, 3},
    {"NV12", VideoSubtype::Nv12, 640, 480, &CLSID_AVIDec, 3},
    {"MJPG", VideoSubtype::Mjpg, 1280, 960, &CLSID_MjpegDec, 10},
};

constexpr size_t kFrames = 10;

class VcamDecode : public ::testing::TestWithParam<CameraCase>
{
protected:
    comkit::ComApartment m_com;
};

TEST_P(VcamDecode, ColourBarsDecodedInOrder)
{
    const CameraCase& c = GetParam();
    DeviceSettings settings;
    settings.formats = {{c.width, c.height, c.subtype}};
    settings.scene.pattern = ScenePattern::ColourBars;
    CameraDevice device{settings};
    ASSERT_EQ(S_OK, device.Added());
    ComPtr<IBaseFilter> camera;
    ASSERT_EQ(S_OK, device.Bind(&camera));
    DecodedFrames frames;
    {
        DecodeGraph graph;
        ASSERT_EQ(S_OK, graph.Build(camera.Get(), &frames, true));
        EXPECT_TRUE(graph.Holds(*c.decoder));
        EXPECT_EQ(c.width, frames.width);
        EXPECT_EQ(c.height, frames.height);
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph.graph.As(&control));
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        EXPECT_TRUE(frames.WaitFor(kFrames));
        control->Stop();
    }
    const std::vector<DecodedFrame> got = frames.Frames();
    ASSERT_GE(got.size(), kFrames);
    for (size_t i = 0; i < got.size(); ++i)
    {
        EXPECT_TRUE(got[i].numbered) << i;
        // A loaded machine may make the camera skip a slot, never reorder.
        if (i > 0)
        {
            EXPECT_GT(got[i].number, got[i - 1].number) << i;
        }
    }
    for (int bar = 0; bar < ColourBarCount; ++bar)
    {
        const BarColour want = ColourBar(bar);
        const decoders::Rgb& seen = got[0].bars[bar];
        EXPECT_NEAR(want.r, seen.r, c.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.g, seen.g, c.tolerance) << "bar " << bar;
        EXPECT_NEAR(want.b, seen.b, c.tolerance) << "bar " << bar;
    }
}

INSTANTIATE_TEST_SUITE_P(Camera, VcamDecode, ::testing::ValuesIn(kCameraCases),
                         [](const ::testing::TestParamInfo<CameraCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
