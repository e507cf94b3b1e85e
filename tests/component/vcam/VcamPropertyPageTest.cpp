// The camera's settings page opens in the system property frame and closes again.
#include <gtest/gtest.h>

#include <olectl.h>
#include <atomic>
#include <thread>

#include "GrabGraph.h"
#include "VcamTestSupport.h"

namespace
{

struct FrameSearch
{
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context)
{
    wchar_t className[32] = {};
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (IsWindowVisible(window) && wcscmp(className, L"#32770") == 0)
    {
        reinterpret_cast<FrameSearch*>(context)->found = window;
        return FALSE;
    }
    return TRUE;
}

// Watches the thread that shows the modal frame and cancels the frame once it is up.
void DismissFrameOf(DWORD threadId, std::atomic<bool>* seen, std::atomic<bool>* done)
{
    const DWORD deadline = GetTickCount() + 30000;
    while (!*done && GetTickCount() < deadline)
    {
        FrameSearch search;
        EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
        {
            *seen = true;
            Sleep(300);  // let the page finish initialising
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        Sleep(50);
    }
}

}  // namespace

// As a capture program opens the pages: on a second filter of the same device, owned
// by its window, while the first one streams.
TEST(VcamPropertyPage, FrameOpensOnTheCameraAndCloses)
{
    ComApartment com;
    DeviceScope devices;
    ASSERT_EQ(0, LiveObjects());
    FrameRecorder recorder;
    {
        GrabGraph graph;
        ComPtr<IBaseFilter> streaming = graph.AddRunningCamera(devices, L"Tarnview Page Camera", &recorder);
        ASSERT_TRUE(streaming);
        HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                     nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner);
        ComPtr<IBaseFilter> camera = BindDeviceByName(L"Tarnview Page Camera");
        ASSERT_TRUE(camera);
        ComPtr<ISpecifyPropertyPages> pages;
        ASSERT_EQ(S_OK, camera.As(&pages));
        CAUUID list = {};
        ASSERT_EQ(S_OK, pages->GetPages(&list));
        ComPtr<IUnknown> object;
        camera.As(&object);
        IUnknown* objects[] = {object.Get()};

        std::atomic<bool> seen{false}, done{false};
        std::thread watcher(DismissFrameOf, GetCurrentThreadId(), &seen, &done);
        const size_t framesBefore = recorder.Count();
        const HRESULT hr = OleCreatePropertyFrame(owner, 30, 30, nullptr, 1, objects, list.cElems,
                                                  list.pElems, 0, 0, nullptr);
        done = true;
        watcher.join();
        CoTaskMemFree(list.pElems);
        EXPECT_EQ(S_OK, hr);
        EXPECT_TRUE(seen) << "no property frame appeared";
        EXPECT_GT(recorder.Count(), framesBefore + 5) << "the other filter's stream stalled";
        DestroyWindow(owner);
    }
    EXPECT_EQ(0, LiveObjects()) << "the page or the filter was not released";
}
