// What the virtual camera's picture looks like and how long each frame is exposed, and
// the filter's private interface through which the settings page reads and changes it.
#pragma once

#include <windows.h>
#include <unknwn.h>

enum class ScenePattern : int
{
    NightSky,
    ColourBars  // vcam/frame/ColourBars.h
};

struct SceneSettings
{
    int starDensity = 50;         // 0..100: share of the sky's star budget drawn
    int brightness = 70;          // 0..100: sky and star intensity
    bool showFrameNumber = true;  // visible digits only; the machine-readable stamp is always drawn
    // 100 ns units; 0 = automatic. As on a real sensor, an exposure longer than the
    // stream's frame interval lengthens the interval to match.
    LONGLONG exposure = 0;
    ScenePattern pattern = ScenePattern::NightSky;
};

constexpr LONGLONG MaxExposure = 60LL * 10000000;

// Implemented by the source filter; both methods are safe from any thread.
MIDL_INTERFACE("8C1D2E3F-4A5B-4C6D-9E7F-0A1B2C3D4E5F")
IVcamScene : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetScene(SceneSettings * scene) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetScene(const SceneSettings* scene) = 0;
};
__CRT_UUID_DECL(IVcamScene, 0x8c1d2e3f, 0x4a5b, 0x4c6d, 0x9e, 0x7f, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f)

// Clamps every value into its range; callers store only clamped scenes.
SceneSettings ClampScene(const SceneSettings& scene);
