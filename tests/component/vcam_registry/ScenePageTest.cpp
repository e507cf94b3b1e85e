#include <gtest/gtest.h>

#include <wrl/client.h>

#include "DeviceLookup.h"
#include "PageFakes.h"
#include "PageWindows.h"
#include "comkit/Module.h"
#include "vcam/pages/ScenePage.h"
#include "vcam/pages/ScenePageResource.h"

using Microsoft::WRL::ComPtr;

namespace
{

SceneSettings Scene(int density, int brightness, bool digits)
{
    SceneSettings scene;
    scene.starDensity = density;
    scene.brightness = brightness;
    scene.showFrameNumber = digits;
    return scene;
}

int NumberIn(HWND dialog, int id)
{
    BOOL ok = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &ok, FALSE);
    return ok ? static_cast<int>(value) : -1;
}

class ScenePageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(m_com.Result());
        m_liveBefore = comkit::ModuleLiveObjects();
        ASSERT_EQ(S_OK, CreateScenePage(IID_PPV_ARGS(&m_page)));
        EXPECT_EQ(m_liveBefore + 1, comkit::ModuleLiveObjects());
    }

    void TearDown() override
    {
        m_page.Reset();
        EXPECT_EQ(m_liveBefore, comkit::ModuleLiveObjects())
            << "the page must count itself only while it lives";
        EXPECT_EQ(1, m_scene.Refs()) << "every reference to the object must be released";
        EXPECT_EQ(1u, m_site.Refs());
    }

    // Site, object and activation as a property frame does them; returns the page's dialog.
    HWND OpenPage()
    {
        EXPECT_EQ(S_OK, m_page->SetPageSite(&m_site));
        IUnknown* objects[] = {&m_scene};
        EXPECT_EQ(S_OK, m_page->SetObjects(1, objects));
        const RECT rect = {10, 10, 400, 200};
        EXPECT_EQ(S_OK, m_page->Activate(m_host.Get(), &rect, FALSE));
        EXPECT_EQ(S_OK, m_page->Show(SW_SHOW));
        return FindControl(m_host.Get(), IDC_VCAM_STAR_DENSITY)
                   ? GetParent(FindControl(m_host.Get(), IDC_VCAM_STAR_DENSITY))
                   : nullptr;
    }

    void ClosePage()
    {
        EXPECT_EQ(S_OK, m_page->Deactivate());
        EXPECT_EQ(S_OK, m_page->SetObjects(0, nullptr));
        EXPECT_EQ(S_OK, m_page->SetPageSite(nullptr));
    }

    comkit::ComApartment m_com;
    LONG m_liveBefore = 0;
    FakeScene m_scene{Scene(20, 40, true)};
    FakePageSite m_site;
    HostWindow m_host;
    ComPtr<IPropertyPage> m_page;
};

TEST_F(ScenePageTest, ShowsTheObjectsValuesAndAppliesEditsAsTheyAreMade)
{
    const HWND dialog = OpenPage();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(20, NumberIn(dialog, IDC_VCAM_STAR_DENSITY));
    EXPECT_EQ(40, NumberIn(dialog, IDC_VCAM_BRIGHTNESS));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_VCAM_SHOW_FRAME_NUMBER));
    EXPECT_EQ(S_FALSE, m_page->IsPageDirty());

    TypeInto(GetDlgItem(dialog, IDC_VCAM_STAR_DENSITY), L"85");
    SendMessageW(GetDlgItem(dialog, IDC_VCAM_SHOW_FRAME_NUMBER), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_TRUE(SameScene(Scene(85, 40, false), m_scene.Scene())) << "each edit reaches the filter at once";
    EXPECT_EQ(S_OK, m_page->IsPageDirty()) << "not yet kept: Cancel would put it back";
    EXPECT_TRUE(m_site.StatusFlags() & PROPPAGESTATUS_DIRTY);

    wchar_t exposure[16] = {};
    GetDlgItemTextW(dialog, IDC_VCAM_EXPOSURE, exposure, 16);
    EXPECT_STREQ(L"0", exposure) << "automatic exposure";
    TypeInto(GetDlgItem(dialog, IDC_VCAM_EXPOSURE), L"4.5");
    TypeInto(GetDlgItem(dialog, IDC_VCAM_EXPOSURE), L"4.5s");  // not a time: the last one stays
    EXPECT_EQ(45000000, m_scene.Scene().exposure);

    EXPECT_EQ(S_OK, m_page->Apply());
    SceneSettings applied = Scene(85, 40, false);
    applied.exposure = 45000000;
    EXPECT_TRUE(SameScene(applied, m_scene.Scene()));
    EXPECT_EQ(S_FALSE, m_page->IsPageDirty());
    const int calls = m_scene.SetCalls();
    EXPECT_EQ(S_OK, m_page->Apply());
    EXPECT_EQ(calls, m_scene.SetCalls()) << "a clean page has nothing to apply";
    ClosePage();
    EXPECT_TRUE(SameScene(applied, m_scene.Scene())) << "applied values stay";
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(ScenePageTest, LetGoWithoutApplyPutsBackWhatThePageFound)
{
    const HWND dialog = OpenPage();
    ASSERT_TRUE(dialog);
    TypeInto(GetDlgItem(dialog, IDC_VCAM_BRIGHTNESS), L"90");
    EXPECT_EQ(90, m_scene.Scene().brightness);
    ClosePage();
    EXPECT_TRUE(SameScene(Scene(20, 40, true), m_scene.Scene()));
}

TEST_F(ScenePageTest, ValuesBeyondTheRangeAreAppliedClamped)
{
    const HWND dialog = OpenPage();
    ASSERT_TRUE(dialog);
    TypeInto(GetDlgItem(dialog, IDC_VCAM_BRIGHTNESS), L"250");
    TypeInto(GetDlgItem(dialog, IDC_VCAM_STAR_DENSITY), L"");  // emptied box keeps the old value
    EXPECT_EQ(S_OK, m_page->Apply());
    EXPECT_TRUE(SameScene(Scene(20, 100, true), m_scene.Scene()));
    EXPECT_EQ(100, NumberIn(dialog, IDC_VCAM_BRIGHTNESS));
    EXPECT_EQ(20, NumberIn(dialog, IDC_VCAM_STAR_DENSITY));
    ClosePage();
}

TEST_F(ScenePageTest, DescribesItselfForTheFrame)
{
    PROPPAGEINFO info = {};
    ASSERT_EQ(S_OK, m_page->GetPageInfo(&info));
    ASSERT_TRUE(info.pszTitle);
    EXPECT_STREQ(L"Picture", info.pszTitle);
    EXPECT_GT(info.size.cx, 150);
    EXPECT_GT(info.size.cy, 60);
    CoTaskMemFree(info.pszTitle);
    EXPECT_EQ(E_POINTER, m_page->GetPageInfo(nullptr));
}

TEST_F(ScenePageTest, RefusesObjectsWithoutTheSceneInterface)
{
    PlainObject plain;
    IUnknown* objects[] = {&plain};
    EXPECT_EQ(E_NOINTERFACE, m_page->SetObjects(1, objects));
    EXPECT_EQ(E_UNEXPECTED, m_page->Apply());
    EXPECT_EQ(E_POINTER, m_page->SetObjects(1, nullptr));
}

TEST_F(ScenePageTest, CallsOutOfOrderAreRefused)
{
    const RECT rect = {0, 0, 100, 100};
    EXPECT_EQ(E_UNEXPECTED, m_page->Deactivate());
    EXPECT_EQ(E_UNEXPECTED, m_page->Show(SW_SHOW));
    EXPECT_EQ(E_UNEXPECTED, m_page->Move(&rect));
    ASSERT_TRUE(OpenPage());
    EXPECT_EQ(E_UNEXPECTED, m_page->Activate(m_host.Get(), &rect, FALSE));
    EXPECT_EQ(E_UNEXPECTED, m_page->SetPageSite(&m_site));
    EXPECT_EQ(S_OK, m_page->Move(&rect));
    EXPECT_EQ(S_FALSE, m_page->TranslateAccelerator(nullptr));
    EXPECT_EQ(E_NOTIMPL, m_page->Help(nullptr));
    ClosePage();
}

TEST_F(ScenePageTest, ReleasedWhileActiveTakesItsWindowAlong)
{
    const HWND dialog = OpenPage();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(S_OK, m_page->SetObjects(0, nullptr));
    EXPECT_EQ(S_OK, m_page->SetPageSite(nullptr));
    m_page.Reset();
    EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
