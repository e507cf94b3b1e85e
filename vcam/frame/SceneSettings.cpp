#include "vcam/frame/SceneSettings.h"

namespace
{
int ClampPercent(int value)
{
    return value < 0 ? 0 : (value > 100 ? 100 : value);
}
}  // namespace

SceneSettings ClampScene(const SceneSettings& scene)
{
    SceneSettings clamped = scene;
    clamped.starDensity = ClampPercent(scene.starDensity);
    clamped.brightness = ClampPercent(scene.brightness);
    if (scene.pattern != ScenePattern::ColourBars)
        clamped.pattern = ScenePattern::NightSky;
    clamped.exposure = scene.exposure < 0 ? 0 : (scene.exposure > MaxExposure ? MaxExposure : scene.exposure);
    return clamped;
}
