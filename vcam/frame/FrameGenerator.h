// Renders the virtual camera's picture: a slowly moving night sky (or colour bars) with
// the frame number stamped machine-readably in the top-left corner and, optionally, as
// digits.
// No COM, no threads of its own: one generator per streaming thread.
#pragma once

#include <windows.h>
#include <cstdint>
#include <vector>

#include "vcam/frame/FrameLayout.h"
#include "vcam/frame/SceneSettings.h"
#include "vcam/frame/SkyBackground.h"

class FrameGenerator
{
public:
    // Fills one RGB24 frame (B,G,R order, bottom-up when layout.height > 0).
    // dib must hold layout.stride * |layout.height| bytes. Widths below
    // FrameStampMinWidth still get a picture but no readable stamp.
    void Render(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber, const SceneSettings& scene);

private:
    struct Star
    {
        double x;      // 0..1 of the width at frame 0
        double y;      // 0..1 of the height
        double speed;  // widths per frame
        BYTE level;    // peak level before the scene's brightness
        BYTE tint;     // 0 bluish .. 255 yellowish
        BYTE phase;    // twinkle phase
        bool large;    // drawn as a small cross
    };

    void RenderBars(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber, const SceneSettings& scene);
    void RenderSky(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber, const SceneSettings& scene);
    void PrepareStars();
    void CopyBackground(const FrameLayout& layout, BYTE* dib) const;
    void DrawStars(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber,
                   const SceneSettings& scene) const;

    SkyBackground m_sky;
    std::vector<BYTE> m_scaledSky;  // m_sky at m_scaledBrightness
    int m_scaledBrightness = -1;
    std::vector<Star> m_stars;
};
