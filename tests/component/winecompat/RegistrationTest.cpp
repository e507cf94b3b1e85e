// regsvr32's side: our class key, TreatAs on the platform's builder, and an unregister
// that takes back only what is ours.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "TestFiles.h"
#include "comkit/ComApartment.h"

using Microsoft::WRL::ComPtr;

namespace
{

const wchar_t kOurClass[] = L"{55DBFE39-9EE3-45AD-BE11-9EC9F4056905}";
const wchar_t kBuilderTreatAs[] = L"CLSID\\{BF87B6E1-8C27-11D0-B3F0-00AA003761C5}\\TreatAs";
const wchar_t kOurServer[] = L"CLSID\\{55DBFE39-9EE3-45AD-BE11-9EC9F4056905}\\InprocServer32";
const wchar_t kOurGraph[] = L"{AC15D270-F63A-4AAD-9EE1-73491AD3348D}";
const wchar_t kGraphTreatAs[] = L"CLSID\\{E436EBB3-524F-11CE-9F53-0020AF0BA770}\\TreatAs";
const wchar_t kOurGraphServer[] = L"CLSID\\{AC15D270-F63A-4AAD-9EE1-73491AD3348D}\\InprocServer32";
const wchar_t kOurMux[] = L"{0B4C1E6D-5A0F-4F37-9C55-2D8E7A61B3F2}";
const wchar_t kMuxTreatAs[] = L"CLSID\\{E2510970-F137-11CE-8B67-00AA00A3F1A6}\\TreatAs";
const wchar_t kOurMuxServer[] = L"CLSID\\{0B4C1E6D-5A0F-4F37-9C55-2D8E7A61B3F2}\\InprocServer32";

std::wstring ReadString(const wchar_t* key, const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

bool KeyExists(const wchar_t* key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

HRESULT BuilderSetOutputFileName()
{
    ComPtr<ICaptureGraphBuilder2> builder;
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&builder));
    if (FAILED(hr))
        return hr;
    ComPtr<IBaseFilter> mux;
    std::wstring path = WindowsPathW(ScratchDirUnix() + "/registration.avi");
    return builder->SetOutputFileName(&MEDIASUBTYPE_Avi, path.c_str(), &mux, nullptr);
}

// Whether CLSID_FilterGraph gives one of our objects (the test holds the DLL loaded).
bool GraphIsOurs(LONG (*liveObjects)())
{
    ComPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph))))
        return false;
    return liveObjects() == 1;
}

// Loads the registered DLL itself, for its regsvr32 entry points.
class Registration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = ReadString(kOurServer, nullptr);
        m_dll = LoadLibraryW(m_path.c_str());
        ASSERT_NE(nullptr, m_dll) << "tarnview-winecompat.dll is not registered in this prefix";
        m_register = Export("DllRegisterServer");
        m_unregister = Export("DllUnregisterServer");
        ASSERT_TRUE(m_register && m_unregister);
        s_live = reinterpret_cast<LONG(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(m_dll, "WinecompatLiveObjects")));
        ASSERT_TRUE(s_live);
    }
    void TearDown() override
    {
        if (m_register)
        {
            EXPECT_EQ(S_OK, m_register());  // later tests need the prefix as it was
        }
        if (m_dll)
            FreeLibrary(m_dll);
    }
    using Entry = HRESULT(WINAPI*)();
    static LONG LiveObjects() { return s_live ? s_live() : -1; }
    Entry Export(const char* name)
    {
        return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m_dll, name)));
    }

    comkit::ComApartment m_com;
    std::wstring m_path;
    HMODULE m_dll = nullptr;
    Entry m_register = nullptr;
    Entry m_unregister = nullptr;
    static LONG(WINAPI* s_live)();
};

LONG(WINAPI* Registration::s_live)() = nullptr;

TEST_F(Registration, RegistersItsClassAndTreatAs)
{
    ASSERT_EQ(S_OK, m_register());
    EXPECT_EQ(kOurClass, ReadString(kBuilderTreatAs, nullptr));
    EXPECT_NE(std::wstring::npos, m_path.find(L"tarnview-winecompat.dll"));
    EXPECT_EQ(L"Both", ReadString(kOurServer, L"ThreadingModel"));
    EXPECT_EQ(kOurGraph, ReadString(kGraphTreatAs, nullptr));
    EXPECT_EQ(m_path, ReadString(kOurGraphServer, nullptr));
    EXPECT_EQ(L"Both", ReadString(kOurGraphServer, L"ThreadingModel"));
    EXPECT_EQ(kOurMux, ReadString(kMuxTreatAs, nullptr));
    EXPECT_EQ(m_path, ReadString(kOurMuxServer, nullptr));
}

TEST_F(Registration, UnregisterGivesWinesBuilderBackAndRegisterTakesItAgain)
{
    ASSERT_EQ(S_OK, m_unregister());
    EXPECT_FALSE(KeyExists(kBuilderTreatAs));
    EXPECT_FALSE(KeyExists(kOurServer));
    EXPECT_TRUE(KeyExists(L"CLSID\\{BF87B6E1-8C27-11D0-B3F0-00AA003761C5}\\InprocServer32"))
        << "unregistering removed part of Wine's own class";
    EXPECT_FALSE(KeyExists(kGraphTreatAs));
    EXPECT_FALSE(KeyExists(kOurGraphServer));
    EXPECT_TRUE(KeyExists(L"CLSID\\{E436EBB3-524F-11CE-9F53-0020AF0BA770}\\InprocServer32"));
    EXPECT_FALSE(KeyExists(kMuxTreatAs));
    EXPECT_FALSE(KeyExists(kOurMuxServer));
    EXPECT_EQ(E_NOTIMPL, BuilderSetOutputFileName());
    EXPECT_FALSE(GraphIsOurs(LiveObjects));

    ASSERT_EQ(S_OK, m_register());
    EXPECT_EQ(S_OK, BuilderSetOutputFileName());
    EXPECT_TRUE(GraphIsOurs(LiveObjects));
    EXPECT_EQ(S_OK, m_unregister());  // twice in a row is fine
    EXPECT_EQ(S_OK, m_unregister());
}

TEST_F(Registration, UnregisterLeavesSomeoneElsesTreatAs)
{
    const wchar_t foreign[] = L"{00000000-1111-2222-3333-444444444444}";
    for (const wchar_t* treatAs : {kBuilderTreatAs, kGraphTreatAs, kMuxTreatAs})
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, treatAs, 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &key, nullptr));
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign), sizeof(foreign));
        RegCloseKey(key);
    }

    EXPECT_EQ(S_OK, m_unregister());
    EXPECT_EQ(foreign, ReadString(kBuilderTreatAs, nullptr));
    EXPECT_EQ(foreign, ReadString(kGraphTreatAs, nullptr));
    EXPECT_EQ(foreign, ReadString(kMuxTreatAs, nullptr));
}

}  // namespace
