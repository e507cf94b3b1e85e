#include <gtest/gtest.h>

#include "FakePropertyBag.h"
#include "vcam/registry/DeviceSettings.h"

namespace
{

TEST(DeviceSettingsBag, MissingValuesGiveDefaults)
{
    FakePropertyBag bag;
    bag.SetText(L"FriendlyName", L"01 Generic USB Camera");
    DeviceSettings settings;
    settings.fps = 5;
    ASSERT_EQ(S_OK, LoadDeviceSettings(&bag, &settings));
    const DeviceSettings defaults;
    EXPECT_TRUE(settings.formats.empty());
    EXPECT_EQ(DefaultFormats().size(), EffectiveFormats(settings).size());
    EXPECT_EQ(defaults.fps, settings.fps);
    EXPECT_EQ(defaults.scene.brightness, settings.scene.brightness);
    EXPECT_TRUE(settings.scene.showFrameNumber);
    EXPECT_EQ(1u, bag.Refs());
}

TEST(DeviceSettingsBag, ReadsEveryStoredValue)
{
    FakePropertyBag bag;
    bag.SetText(VcamValue::Formats, L"320x240,640x-480");
    bag.SetNumber(VcamValue::Fps, 15);
    bag.SetNumber(VcamValue::VideoInfo2, 1);
    bag.SetNumber(VcamValue::PreviewPin, 1);
    bag.SetNumber(VcamValue::VideoPortPin, 1);
    bag.SetNumber(VcamValue::Faults, VcamFault::GetFormatFails | VcamFault::NoCapabilities);
    bag.SetNumber(VcamValue::StopAfter, 90);
    bag.SetNumber(VcamValue::StarDensity, 10);
    bag.SetNumber(VcamValue::Brightness, 95);
    bag.SetText(VcamValue::ShowFrameNumber, L"0");  // numbers given as text are accepted too
    DeviceSettings s;
    ASSERT_EQ(S_OK, LoadDeviceSettings(&bag, &s));
    ASSERT_EQ(2u, s.formats.size());
    EXPECT_EQ(-480, s.formats[1].height);
    EXPECT_EQ(15u, s.fps);
    EXPECT_TRUE(s.videoInfo2 && s.previewPin && s.videoPortPin);
    EXPECT_EQ(unsigned(VcamFault::GetFormatFails | VcamFault::NoCapabilities), s.faults);
    EXPECT_EQ(90u, s.stopAfterFrames);
    EXPECT_EQ(10, s.scene.starDensity);
    EXPECT_EQ(95, s.scene.brightness);
    EXPECT_FALSE(s.scene.showFrameNumber);
}

TEST(DeviceSettingsBag, BadValuesFailAndLeaveSettingsAlone)
{
    struct Case
    {
        const wchar_t* name;
        long number;
        const wchar_t* text;
    };
    const Case cases[] = {
        {VcamValue::Fps, 0, nullptr},          {VcamValue::Fps, 61, nullptr},
        {VcamValue::Brightness, 101, nullptr}, {VcamValue::StarDensity, -1, nullptr},
        {VcamValue::PreviewPin, 2, nullptr},   {VcamValue::Faults, 128, nullptr},
        {VcamValue::StopAfter, -5, nullptr},   {VcamValue::Fps, 0, L"fast"},
        {VcamValue::Formats, 0, L"640x"},      {VcamValue::Formats, 7, nullptr},
        {VcamValue::Exposure, 60000001, nullptr}, {VcamValue::Jitter, -1, nullptr},
    };
    for (const Case& c : cases)
    {
        FakePropertyBag bag;
        if (c.text)
            bag.SetText(c.name, c.text);
        else
            bag.SetNumber(c.name, c.number);
        DeviceSettings s;
        s.fps = 12;
        EXPECT_EQ(E_INVALIDARG, LoadDeviceSettings(&bag, &s)) << c.name << " " << c.number;
        EXPECT_EQ(12u, s.fps);
    }
    DeviceSettings s;
    EXPECT_EQ(E_POINTER, LoadDeviceSettings(nullptr, &s));
}

TEST(DeviceSettingsBag, SavedSettingsLoadBackAndCarryTheMarker)
{
    DeviceSettings saved;
    saved.formats = {{1280, 960}, {642, 480}};
    saved.fps = 25;
    saved.previewPin = true;
    saved.faults = VcamFault::NoPropertyPages;
    saved.stopAfterFrames = 300;
    saved.scene.starDensity = 80;
    saved.scene.brightness = 40;
    saved.scene.showFrameNumber = false;
    saved.scene.exposure = 42500000;
    saved.firstFrameDelay = 60000000;
    saved.jitter = 1500000;
    saved.dropFrom = 30;
    saved.dropCount = 5;
    FakePropertyBag bag;  // refuses anything but VT_I4 and VT_BSTR, as Wine's device bag does
    ASSERT_EQ(S_OK, SaveDeviceSettings(&bag, saved));
    EXPECT_EQ(VT_I4, bag.TypeOf(VcamValue::Marker));
    EXPECT_EQ(VT_BSTR, bag.TypeOf(VcamValue::Formats));

    DeviceSettings loaded;
    ASSERT_EQ(S_OK, LoadDeviceSettings(&bag, &loaded));
    EXPECT_EQ(L"1280x960,642x480", FormatsToText(loaded.formats));
    EXPECT_EQ(25u, loaded.fps);
    EXPECT_TRUE(loaded.previewPin);
    EXPECT_FALSE(loaded.videoPortPin);
    EXPECT_EQ(unsigned(VcamFault::NoPropertyPages), loaded.faults);
    EXPECT_EQ(300u, loaded.stopAfterFrames);
    EXPECT_EQ(80, loaded.scene.starDensity);
    EXPECT_EQ(40, loaded.scene.brightness);
    EXPECT_FALSE(loaded.scene.showFrameNumber);
    EXPECT_EQ(42500000, loaded.scene.exposure);
    EXPECT_EQ(60000000, loaded.firstFrameDelay);
    EXPECT_EQ(1500000, loaded.jitter);
    EXPECT_EQ(30u, loaded.dropFrom);
    EXPECT_EQ(5u, loaded.dropCount);
}

TEST(DeviceSettingsBag, DefaultFormatListIsNotStored)
{
    FakePropertyBag bag;
    ASSERT_EQ(S_OK, SaveDeviceSettings(&bag, DeviceSettings()));
    EXPECT_FALSE(bag.Has(VcamValue::Formats));
    EXPECT_TRUE(bag.Has(VcamValue::Fps));
}

}  // namespace
