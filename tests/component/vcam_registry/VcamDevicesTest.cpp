#include <gtest/gtest.h>

#include <dshow.h>

#include "DeviceLookup.h"
#include "NoDevicesTest.h"
#include "vcam/VcamGuids.h"
#include "vcam/registry/DeviceEnumeration.h"
#include "vcam/registry/VcamDevices.h"

using Microsoft::WRL::ComPtr;

namespace
{

const wchar_t GenericName[] = L"01 Generic USB Camera";
const wchar_t VcxName[] = L"02 vcx 4100";
const wchar_t UnpluggedName[] = L"03 Unplugged Camera";

DeviceSpec Entry(const wchar_t* instance, const wchar_t* name, bool unbindable = false)
{
    DeviceSpec entry;
    entry.instance = instance;
    entry.friendlyName = name;
    entry.unbindable = unbindable;
    return entry;
}

class VcamDevices : public NoDevicesTest
{
protected:
    ComPtr<IPropertyBag> BagOf(const wchar_t* name)
    {
        ComPtr<IMoniker> moniker = FindDeviceByName(name);
        ComPtr<IPropertyBag> bag;
        if (moniker)
        {
            EXPECT_EQ(S_OK, moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)));
        }
        return bag;
    }
};

TEST_F(VcamDevices, EnumerateInInstanceOrderWhateverTheOrderAdded)
{
    ASSERT_EQ(S_OK, AddDevice(Entry(L"03", UnpluggedName, true)));
    ASSERT_EQ(S_OK, AddDevice(Entry(L"01", GenericName)));
    ASSERT_EQ(S_OK, AddDevice(Entry(L"02", VcxName)));
    const std::vector<std::wstring> names = ListDeviceNames();
    EXPECT_TRUE(ContainsInOrder(names, {GenericName, VcxName, UnpluggedName}));
    EXPECT_EQ(3u, names.size()) << "a fresh prefix has no other cameras";
}

TEST_F(VcamDevices, UnbindableDeviceIsListedButCannotBeBound)
{
    ASSERT_EQ(S_OK, AddDevice(Entry(L"03", UnpluggedName, true)));
    ComPtr<IMoniker> moniker = FindDeviceByName(UnpluggedName);
    ASSERT_TRUE(moniker);
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)));
    EXPECT_FALSE(filter);

    std::wstring clsid;
    ASSERT_EQ(S_OK, ReadBagText(BagOf(UnpluggedName).Get(), L"CLSID", &clsid));
    EXPECT_EQ(L"{D4A3E9F1-5B6C-4D7E-8F90-A1B2C3D4E5F6}", clsid);
    ASSERT_EQ(S_OK, AddDevice(Entry(L"01", GenericName)));
    ASSERT_EQ(S_OK, ReadBagText(BagOf(GenericName).Get(), L"CLSID", &clsid));
    EXPECT_EQ(L"{6F2B1C7E-4A8D-4E35-9C1B-7D3E5A0F9B21}", clsid);
}

TEST_F(VcamDevices, SettingsReadBackThroughTheDevicesPropertyBag)
{
    DeviceSpec entry = Entry(L"02", VcxName);
    entry.settings.formats = {{320, 240}, {640, -480}};
    entry.settings.fps = 12;
    entry.settings.videoInfo2 = true;
    entry.settings.videoPortPin = true;
    entry.settings.faults = VcamFault::GetStreamCapsFails;
    entry.settings.stopAfterFrames = 45;
    entry.settings.scene.brightness = 33;
    ASSERT_EQ(S_OK, AddDevice(entry));

    ComPtr<IPropertyBag> bag = BagOf(VcxName);
    ASSERT_TRUE(bag);
    EXPECT_TRUE(IsOurDevice(bag.Get()));
    DeviceSettings read;
    ASSERT_EQ(S_OK, LoadDeviceSettings(bag.Get(), &read));
    EXPECT_EQ(L"320x240,640x-480", FormatsToText(read.formats));
    EXPECT_EQ(12u, read.fps);
    EXPECT_TRUE(read.videoInfo2);
    EXPECT_FALSE(read.previewPin);
    EXPECT_TRUE(read.videoPortPin);
    EXPECT_EQ(unsigned(VcamFault::GetStreamCapsFails), read.faults);
    EXPECT_EQ(45u, read.stopAfterFrames);
    EXPECT_EQ(33, read.scene.brightness);
    EXPECT_EQ(50, read.scene.starDensity);
}

TEST_F(VcamDevices, AddingAgainReplacesNameAndEverySetting)
{
    DeviceSpec first = Entry(L"01", L"01 Old Name");
    first.settings.formats = {{320, 240}};
    first.settings.previewPin = true;
    ASSERT_EQ(S_OK, AddDevice(first));
    ASSERT_EQ(S_OK, AddDevice(Entry(L"01", GenericName)));

    const std::vector<std::wstring> names = ListDeviceNames();
    EXPECT_FALSE(Contains(names, L"01 Old Name"));
    EXPECT_TRUE(Contains(names, GenericName));
    DeviceSettings read;
    ASSERT_EQ(S_OK, LoadDeviceSettings(BagOf(GenericName).Get(), &read));
    EXPECT_TRUE(read.formats.empty()) << "an old format list must not survive";
    EXPECT_FALSE(read.previewPin);
}

TEST_F(VcamDevices, RemovingTakesOnlyTheNamedDevice)
{
    ASSERT_EQ(S_OK, AddDevice(Entry(L"01", GenericName)));
    ASSERT_EQ(S_OK, AddDevice(Entry(L"02", VcxName)));
    EXPECT_EQ(S_OK, RemoveDevice(L"01"));
    EXPECT_EQ(S_FALSE, RemoveDevice(L"01"));
    const std::vector<std::wstring> names = ListDeviceNames();
    EXPECT_FALSE(Contains(names, GenericName));
    EXPECT_TRUE(Contains(names, VcxName));
    EXPECT_EQ(S_OK, RemoveAllDevices());
    EXPECT_FALSE(Contains(ListDeviceNames(), VcxName));
    EXPECT_EQ(S_OK, RemoveAllDevices()) << "nothing left to remove is not a failure";
}

TEST_F(VcamDevices, OthersDevicesAreLeftAlone)
{
    // A device registered by someone else, with no marker.
    ComPtr<IFilterMapper2> mapper;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mapper)));
    REGFILTER2 filter = {};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_DO_NOT_USE;
    ASSERT_EQ(S_OK, mapper->RegisterFilter(CLSID_TarnviewUnpluggedCamera, L"00 Someone Else's Camera",
                                           nullptr, &CLSID_VideoInputDeviceCategory, L"00", &filter));
    ASSERT_EQ(S_OK, AddDevice(Entry(L"01", GenericName)));

    EXPECT_EQ(VCAM_E_NOT_OURS, RemoveDevice(L"00"));
    EXPECT_EQ(VCAM_E_NOT_OURS, AddDevice(Entry(L"00", L"00 Hijacked")));
    EXPECT_EQ(S_OK, RemoveAllDevices());
    const std::vector<std::wstring> names = ListDeviceNames();
    EXPECT_TRUE(Contains(names, L"00 Someone Else's Camera"));
    EXPECT_FALSE(Contains(names, GenericName));
    EXPECT_EQ(S_OK, mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, L"00",
                                             CLSID_TarnviewUnpluggedCamera));
}

TEST_F(VcamDevices, RejectsBadSpecsWithoutRegisteringAnything)
{
    EXPECT_EQ(E_INVALIDARG, AddDevice(Entry(L"", L"No Instance")));
    EXPECT_EQ(E_INVALIDARG, AddDevice(Entry(L"a\\b", L"Nested Instance")));
    EXPECT_EQ(E_INVALIDARG, AddDevice(Entry(L"04", L"")));
    DeviceSpec badFps = Entry(L"05", L"05 Bad Rate");
    badFps.settings.fps = 0;  // could never be loaded by the filter
    EXPECT_EQ(E_INVALIDARG, AddDevice(badFps));
    DeviceSpec badFormat = Entry(L"06", L"06 Bad Format");
    badFormat.settings.formats = {{640, 0}};
    EXPECT_EQ(E_INVALIDARG, AddDevice(badFormat));
    EXPECT_EQ(E_INVALIDARG, RemoveDevice(L""));
    EXPECT_TRUE(ListDeviceNames().empty());
}

}  // namespace
