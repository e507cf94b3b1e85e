// IAMCameraControl on the filter: the exposure only, in log2 seconds as Windows counts
// it (-3 is 1/8 s, 2 is 4 s), automatic or manual. It is the scene's exposure, which
// the settings page shows in seconds.
#include "vcam/filter/VcamFilter.h"

#include <cmath>

namespace
{

constexpr long MinExposureLog2 = -13;
constexpr long MaxExposureLog2 = 5;  // 32 s
constexpr long DefaultExposureLog2 = -5;

}  // namespace

STDMETHODIMP VcamFilter::GetRange(long property, long* min, long* max, long* step, long* defaultValue,
                                  long* flags)
{
    if (!min || !max || !step || !defaultValue || !flags)
        return E_POINTER;
    if (property != CameraControl_Exposure)
        return E_PROP_ID_UNSUPPORTED;
    *min = MinExposureLog2;
    *max = MaxExposureLog2;
    *step = 1;
    *defaultValue = DefaultExposureLog2;
    *flags = CameraControl_Flags_Auto | CameraControl_Flags_Manual;
    return S_OK;
}

STDMETHODIMP VcamFilter::Set(long property, long value, long flags)
{
    if (property != CameraControl_Exposure)
        return E_PROP_ID_UNSUPPORTED;
    const bool automatic = (flags & CameraControl_Flags_Auto) != 0;
    if (!automatic && (value < MinExposureLog2 || value > MaxExposureLog2))
        return E_INVALIDARG;
    SceneSettings scene = m_scene.Get();
    scene.exposure = automatic ? 0 : std::llround(std::ldexp(10000000.0, static_cast<int>(value)));
    m_scene.Set(scene);
    return S_OK;
}

STDMETHODIMP VcamFilter::Get(long property, long* value, long* flags)
{
    if (!value || !flags)
        return E_POINTER;
    if (property != CameraControl_Exposure)
        return E_PROP_ID_UNSUPPORTED;
    const LONGLONG exposure = m_scene.Get().exposure;
    *flags = exposure ? CameraControl_Flags_Manual : CameraControl_Flags_Auto;
    *value = exposure ? std::lround(std::log2(exposure / 10000000.0)) : DefaultExposureLog2;
    return S_OK;
}
