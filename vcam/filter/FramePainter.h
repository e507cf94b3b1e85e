// Draws one frame in the stream's format into a sample's buffer: RGB24 straight from
// the generator; YUV from an RGB24 picture drawn first; MJPG one frame ahead.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "vcam/filter/JpegAhead.h"
#include "vcam/frame/FrameGenerator.h"
#include "vcam/registry/DeviceSettings.h"

class FramePainter
{
public:
    explicit FramePainter(const VideoFormat& format) : m_format(format) {}

    // *length: the bytes written. Fails when the buffer is too small or the JPEG
    // encoder fails.
    HRESULT Paint(uint32_t number, const SceneSettings& scene, BYTE* out, LONG capacity, LONG* length);

private:
    void PaintRgb(uint32_t number, const SceneSettings& scene);

    VideoFormat m_format;
    FrameGenerator m_generator;
    std::vector<BYTE> m_rgb;  // top-down, for the formats made from RGB24
    std::unique_ptr<JpegAhead> m_jpeg;  // made at the first MJPG frame
};
