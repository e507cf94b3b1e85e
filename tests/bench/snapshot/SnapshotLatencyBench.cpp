// Click-to-file latency of a snapshot at 640x480, 30 frames per second: from the
// action button to the still's name in "Last Captured File". Prints figures only.
#include "CaptureHarness.h"

#include <algorithm>
#include <cstdio>

namespace
{
class SnapshotLatency : public CaptureComponentTest
{};

TEST_F(SnapshotLatency, ClickToFileAtVgaThirtyFps)
{
    DeviceSpec entry = Device(L"01", L"Generic USB Camera", {{640, 480}});
    entry.settings.fps = 30;
    AddDevices({entry});
    support::TempFolder folder;
    CCaptureDlg& dlg = OpenDialog();
    CaptureDlgTestAccess::SetDirectory(dlg, folder.Path());
    CheckDlgButton(dlg.GetSafeHwnd(), IDC_INCREMENT, BST_UNCHECKED);
    Pump(500);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> latencies;
    for (int i = 0; i < 60; ++i)
    {
        SetDlgItemTextA(dlg.GetSafeHwnd(), IDC_LAST_FILE, "");
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        CaptureDlgTestAccess::Action(dlg);
        if (!PumpUntil([&] { return !ControlText(IDC_LAST_FILE).empty(); }, 5000))
            break;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        latencies.push_back(1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
        Pump(37);  // land the next click at another point of the frame interval
    }
    ASSERT_FALSE(latencies.empty());
    std::sort(latencies.begin(), latencies.end());
    const size_t p95 = (latencies.size() * 95 + 99) / 100 - 1;
    std::printf(
        "BENCH | snapshot click to closed file, 640x480/30 | median %.1f ms, p95 %.1f ms (%zu stills) "
        "| frame interval %.1f ms\n",
        latencies[latencies.size() / 2], latencies[p95], latencies.size(), 1000.0 / 30);
}
}  // namespace
