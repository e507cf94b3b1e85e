#include <gtest/gtest.h>

#include "vcam/filter/SceneStore.h"

namespace
{

SceneSettings Brightness(int value)
{
    SceneSettings scene;
    scene.brightness = value;
    return scene;
}

TEST(SceneStore, FiltersOfOneDeviceShareTheirSettingsWhileAnyLives)
{
    auto streaming = std::make_unique<SceneStore>();
    streaming->Set(Brightness(70));
    streaming->ShareWithDevice(L"Camera A");
    SceneStore settingsFilter, otherDevice;
    settingsFilter.Set(Brightness(70));  // loaded from the device's entry
    settingsFilter.ShareWithDevice(L"Camera A");
    otherDevice.ShareWithDevice(L"Camera B");

    settingsFilter.Set(Brightness(5));
    EXPECT_EQ(5, streaming->Get().brightness);
    EXPECT_EQ(SceneSettings().brightness, otherDevice.Get().brightness);

    streaming.reset();
    settingsFilter.Set(Brightness(6));
    SceneStore joining;
    joining.ShareWithDevice(L"Camera A");
    EXPECT_EQ(6, joining.Get().brightness) << "the device's live settings, not the stored ones";
}

}  // namespace
