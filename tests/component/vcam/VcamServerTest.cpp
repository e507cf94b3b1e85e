// The COM server: class objects, registration, binding devices, object counting.
#include <gtest/gtest.h>

#include <memory>

#include "VcamTestSupport.h"
#include "vcam/VcamGuids.h"
#include "vcam/frame/SceneSettings.h"

namespace
{

class VcamServer : public ::testing::Test
{
protected:
    ComApartment com;
    DeviceScope devices;
};

std::wstring RegString(const std::wstring& path, const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return std::wstring();
    return value;
}

std::wstring ClsidPath(REFCLSID clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, ARRAYSIZE(text));
    return std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
}

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(WINAPI*)();

template <typename Fn>
Fn Export(const char* name)
{
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"tarnview-vcam.dll"), name)));
}

}  // namespace

TEST_F(VcamServer, RegistersBothClassesWithThisDllAndBothThreadingModels)
{
    ASSERT_EQ(0, LiveObjects());  // also loads the DLL
    wchar_t modulePath[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"tarnview-vcam.dll"), modulePath, MAX_PATH);
    for (const CLSID* clsid : {&CLSID_TarnviewVirtualCamera, &CLSID_TarnviewVcamScenePage})
    {
        EXPECT_EQ(0, _wcsicmp(modulePath, RegString(ClsidPath(*clsid), nullptr).c_str()));
        EXPECT_EQ(L"Both", RegString(ClsidPath(*clsid), L"ThreadingModel"));
    }
}

TEST_F(VcamServer, UnregisterRemovesTheClassesAndRegisterRestoresThem)
{
    ASSERT_EQ(0, LiveObjects());
    using EntryFn = HRESULT(WINAPI*)();
    auto unregisterServer = Export<EntryFn>("DllUnregisterServer");
    auto registerServer = Export<EntryFn>("DllRegisterServer");
    ASSERT_TRUE(unregisterServer && registerServer);
    ASSERT_EQ(S_OK, unregisterServer());
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_TarnviewVirtualCamera, nullptr,
                                                    CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
    EXPECT_EQ(S_OK, unregisterServer()) << "unregistering twice is harmless";
    ASSERT_EQ(S_OK, registerServer());
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_TarnviewVirtualCamera, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&filter)));
}

TEST_F(VcamServer, ClassObjectsCountTowardsUnloading)
{
    ASSERT_EQ(0, LiveObjects());
    auto getClassObject = Export<GetClassObjectFn>("DllGetClassObject");
    auto canUnload = Export<CanUnloadFn>("DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnload);

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              getClassObject(CLSID_TarnviewUnpluggedCamera, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_TarnviewVirtualCamera, IID_PPV_ARGS(&factory)));
    EXPECT_EQ(S_FALSE, canUnload());

    ComPtr<IUnknown> object;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.Get()), IID_PPV_ARGS(&object)));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&object)));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    object.Reset();
    EXPECT_EQ(0, LiveObjects());
    EXPECT_EQ(S_FALSE, canUnload());  // still locked
    ASSERT_TRUE(SUCCEEDED(getClassObject(CLSID_TarnviewVirtualCamera, IID_PPV_ARGS(&factory))));
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(S_OK, canUnload());
}

TEST_F(VcamServer, BoundDeviceIsASourceFilterAndEveryObjectGoesAway)
{
    ASSERT_EQ(0, LiveObjects());
    {
        ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Test Camera");
        ASSERT_TRUE(camera);
        CLSID clsid = GUID_NULL;
        EXPECT_EQ(S_OK, camera->GetClassID(&clsid));
        EXPECT_EQ(CLSID_TarnviewVirtualCamera, clsid);

        ComPtr<IAMFilterMiscFlags> flags;
        ASSERT_EQ(S_OK, camera.As(&flags));
        EXPECT_EQ(static_cast<ULONG>(AM_FILTER_MISC_FLAGS_IS_SOURCE), flags->GetMiscFlags());
        LPWSTR vendor = nullptr;
        EXPECT_EQ(E_NOTIMPL, camera->QueryVendorInfo(&vendor));

        // Enumerators and pins hold the filter; each counts until released.
        ComPtr<IEnumPins> pins;
        ASSERT_EQ(S_OK, camera->EnumPins(&pins));
        ComPtr<IPin> pin;
        ASSERT_EQ(S_OK, pins->Next(1, &pin, nullptr));
        ComPtr<IEnumMediaTypes> types;
        ASSERT_EQ(S_OK, pin->EnumMediaTypes(&types));
        EXPECT_EQ(3, LiveObjects());
        camera.Reset();
        pins.Reset();
        EXPECT_EQ(2, LiveObjects());  // the pin keeps its filter alive
    }
    EXPECT_EQ(0, LiveObjects());
}

TEST_F(VcamServer, DeviceSettingsDecideThePins)
{
    DeviceSettings full;
    full.previewPin = true;
    full.videoPortPin = true;
    ComPtr<IBaseFilter> plain = devices.Add(L"Tarnview Plain Camera");
    ComPtr<IBaseFilter> rich = devices.Add(L"Tarnview Three-Pin Camera", full);
    ASSERT_TRUE(plain && rich);

    auto plainPins = PinsOf(plain.Get());
    ASSERT_EQ(1u, plainPins.size());
    EXPECT_EQ(PIN_CATEGORY_CAPTURE, CategoryOf(plainPins[0].Get()));

    auto richPins = PinsOf(rich.Get());
    ASSERT_EQ(3u, richPins.size());
    EXPECT_EQ(PIN_CATEGORY_CAPTURE, CategoryOf(richPins[0].Get()));
    EXPECT_EQ(PIN_CATEGORY_PREVIEW, CategoryOf(richPins[1].Get()));
    EXPECT_EQ(PIN_CATEGORY_VIDEOPORT, CategoryOf(richPins[2].Get()));

    ComPtr<IPin> found;
    EXPECT_EQ(S_OK, rich->FindPin(L"Preview", &found));
    EXPECT_EQ(richPins[1].Get(), found.Get());
    EXPECT_EQ(VFW_E_NOT_FOUND, plain->FindPin(L"Preview", &found));
    EXPECT_EQ(nullptr, found.Get());

    // The category property answers only its own property set.
    ComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, richPins[0].As(&properties));
    DWORD support = 0, size = 0;
    EXPECT_EQ(S_OK, properties->QuerySupported(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, &support));
    EXPECT_EQ(static_cast<DWORD>(KSPROPERTY_SUPPORT_GET), support);
    GUID category;
    EXPECT_EQ(E_UNEXPECTED,
              properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, 4, &size));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_MEDIUM, nullptr, 0,
                                                     &category, sizeof(category), &size));
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED,
              properties->Get(GUID_NULL, 0, nullptr, 0, &category, sizeof(category), &size));
}

TEST_F(VcamServer, GraphMembershipAndName)
{
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Test Camera");
    ASSERT_TRUE(camera);
    ComPtr<IFilterGraph> graph;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
    ASSERT_EQ(S_OK, graph->AddFilter(camera.Get(), L"My camera"));

    FILTER_INFO info = {};
    ASSERT_EQ(S_OK, camera->QueryFilterInfo(&info));
    EXPECT_STREQ(L"My camera", info.achName);
    EXPECT_EQ(graph.Get(), info.pGraph);
    if (info.pGraph)
        info.pGraph->Release();

    ASSERT_EQ(S_OK, graph->RemoveFilter(camera.Get()));
    ASSERT_EQ(S_OK, camera->QueryFilterInfo(&info));
    EXPECT_EQ(nullptr, info.pGraph);
}

TEST_F(VcamServer, SceneComesFromTheDeviceAndIsClamped)
{
    DeviceSettings settings;
    settings.scene.starDensity = 10;
    settings.scene.brightness = 20;
    settings.scene.showFrameNumber = false;
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Dim Camera", settings);
    ASSERT_TRUE(camera);
    ComPtr<IVcamScene> scene;
    ASSERT_EQ(S_OK, camera.As(&scene));
    SceneSettings read;
    ASSERT_EQ(S_OK, scene->GetScene(&read));
    EXPECT_EQ(10, read.starDensity);
    EXPECT_EQ(20, read.brightness);
    EXPECT_FALSE(read.showFrameNumber);

    SceneSettings wild;
    wild.starDensity = 250;
    wild.brightness = -4;
    ASSERT_EQ(S_OK, scene->SetScene(&wild));
    ASSERT_EQ(S_OK, scene->GetScene(&read));
    EXPECT_EQ(100, read.starDensity);
    EXPECT_EQ(0, read.brightness);
    EXPECT_EQ(E_POINTER, scene->SetScene(nullptr));
}
