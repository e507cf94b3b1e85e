// The page as a property frame hosts it: created from the registered DLL, edited and
// dismissed from another thread while OleCreatePropertyFrame runs its modal loop.
#include <gtest/gtest.h>

#include <olectl.h>
#include <wrl/client.h>
#include <atomic>
#include <cstring>
#include <thread>

#include "DeviceLookup.h"
#include "PageFakes.h"
#include "PageWindows.h"
#include "vcam/VcamGuids.h"
#include "vcam/pages/ScenePageResource.h"

using Microsoft::WRL::ComPtr;

namespace
{

const wchar_t FrameCaption[] = L"Tarnview Test Camera";

struct FrameRun
{
    std::atomic<bool> pageFound{false};
    std::atomic<int> shownBrightness{-1};  // what the page showed before we typed
};

int NumberIn(HWND edit)
{
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    return text[0] ? _wtoi(text) : -1;
}

// Waits for the frame and its page, types a brightness, then presses the given button.
void DriveFrame(FrameRun* run, const wchar_t* brightness, int button)
{
    for (int attempt = 0; attempt < 400; ++attempt)
    {
        Sleep(50);
        const HWND frame = FindTopLevelWindow(FrameCaption);
        const HWND edit = frame ? FindControl(frame, IDC_VCAM_BRIGHTNESS) : nullptr;
        if (!edit || !IsWindowVisible(edit) || GetWindowTextLengthW(edit) == 0)
            continue;  // not shown yet, or not yet filled with the object's values
        run->pageFound = true;
        run->shownBrightness = NumberIn(edit);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(brightness));
        SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(IDC_VCAM_BRIGHTNESS, EN_CHANGE),
                     reinterpret_cast<LPARAM>(edit));
        PostMessageW(frame, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(frame, button)));
        return;
    }
    if (const HWND frame = FindTopLevelWindow(FrameCaption))
        PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

LONG DllLiveObjects()
{
    const HMODULE dll = GetModuleHandleW(L"tarnview-vcam.dll");
    using LiveObjectsFn = LONG(WINAPI*)();
    const FARPROC export_ = dll ? GetProcAddress(dll, "VcamLiveObjects") : nullptr;
    if (!export_)
        return -1;
    LiveObjectsFn live;
    static_assert(sizeof live == sizeof export_, "function pointer sizes");
    memcpy(&live, &export_, sizeof live);
    return live();
}

class ScenePageFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(m_com.Result());
        ComPtr<IPropertyPage> page;
        const HRESULT hr =
            CoCreateInstance(CLSID_TarnviewVcamScenePage, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page));
        if (hr == REGDB_E_CLASSNOTREG)
            GTEST_SKIP() << "tarnview-vcam.dll is not registered in this prefix";
        ASSERT_EQ(S_OK, hr);
    }

    HRESULT RunFrame(const wchar_t* brightness, int button, FrameRun* run)
    {
        IUnknown* objects[] = {&m_scene};
        CLSID pages[] = {CLSID_TarnviewVcamScenePage};
        std::thread driver(DriveFrame, run, brightness, button);
        const HRESULT hr =
            OleCreatePropertyFrame(nullptr, 0, 0, FrameCaption, 1, objects, 1, pages, 0, 0, nullptr);
        driver.join();
        return hr;
    }

    comkit::ComApartment m_com;
    FakeScene m_scene{SceneSettings()};
};

TEST_F(ScenePageFrame, OkClosesTheFrameAndLetsGoOfEverything)
{
    SceneSettings start;
    start.brightness = 64;
    m_scene.SetScene(&start);
    FrameRun run;
    EXPECT_EQ(S_OK, RunFrame(L"15", IDOK, &run));
    ASSERT_TRUE(run.pageFound) << "the frame never showed the page's controls";
    EXPECT_EQ(64, run.shownBrightness.load()) << "the page shows the object's values";
    EXPECT_EQ(15, m_scene.Scene().brightness) << "OK keeps the edit (Wine's frame never calls Apply)";
    EXPECT_EQ(1, m_scene.Refs()) << "the frame and page let go of the object";
    EXPECT_LE(DllLiveObjects(), 0) << "no page or factory of the DLL outlives the frame (-1: DLL unloaded)";
}

TEST_F(ScenePageFrame, CancelPutsBackWhatThePageFound)
{
    FrameRun run;
    EXPECT_EQ(S_OK, RunFrame(L"90", IDCANCEL, &run));
    ASSERT_TRUE(run.pageFound);
    EXPECT_EQ(SceneSettings().brightness, run.shownBrightness.load());
    EXPECT_GE(m_scene.SetCalls(), 2) << "the edit reached the object before Cancel";
    EXPECT_EQ(SceneSettings().brightness, m_scene.Scene().brightness);
    EXPECT_EQ(1, m_scene.Refs());
}

}  // namespace
