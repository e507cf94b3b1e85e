#include "JpegFrames.h"

#include "YuvBars.h"
#include "vcam/filter/JpegEncoder.h"
#include "vcam/frame/FrameStamp.h"

namespace testframes
{

std::vector<BYTE> MakeBarsBgr(LONG width, LONG height, uint32_t number)
{
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<BYTE> bgr(stride * height);
    for (LONG y = 0; y < height; ++y)
    {
        for (LONG x = 0; x < width; ++x)
        {
            const decoders::Rgb& c = kBarsRgb[BarAt(x, width)];
            BYTE* px = &bgr[y * stride + x * 3];
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
        }
    }
    DrawFrameStamp(FrameLayout{width, -height, static_cast<LONG>(stride)}, bgr.data(), number);
    return bgr;
}

std::vector<BYTE> EncodeJpeg(const std::vector<BYTE>& bgr, LONG width, LONG height)
{
    // The virtual camera's own encoder, so that the tests' frames are the camera's.
    JpegEncoder encoder;
    std::vector<BYTE> jpeg(bgr.size() + 4096);
    LONG written = 0;
    if (FAILED(encoder.Encode(bgr.data(), width, height, width * 3, jpeg.data(),
                              static_cast<LONG>(jpeg.size()), &written)))
        return {};
    jpeg.resize(static_cast<size_t>(written));
    return jpeg;
}

}  // namespace testframes
