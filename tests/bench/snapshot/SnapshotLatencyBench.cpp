// Click-to-file latency of a snapshot at 640x480, 30 frames per second: from the
// action button to the still's name in "Last Captured File", beside the same job done
// by the smallest DirectShow program (NextFrameGrab) on a second instance of the same
// camera, both running throughout and clicked in turn, so that both meet the same load.
// Clicks fall at random moments of the frame cycle. Prints figures only.
#include "CaptureHarness.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "NextFrameGrab.h"
#include "support/DeviceLookup.h"

namespace
{
constexpr double kFrameMs = 1000.0 / 30;
constexpr int kClicks = 60;

double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

struct Figures
{
    double median, p95;
};

Figures FiguresOf(std::vector<double> latencies)
{
    std::sort(latencies.begin(), latencies.end());
    const size_t p95 = (latencies.size() * 95 + 99) / 100 - 1;
    return {latencies[latencies.size() / 2], latencies[p95]};
}

class SnapshotLatency : public CaptureComponentTest
{
protected:
    // Pumps the dialog's messages for one to two frame intervals, drawn at random, so
    // that the next click lands anywhere in the frame cycle.
    void PumpRandomPhase()
    {
        const double until = NowMs() + std::uniform_real_distribution<double>(kFrameMs, 2 * kFrameMs)(random);
        while (NowMs() < until)
        {
            Pump();
            Sleep(1);
        }
    }

    // Pumps until the still's name is shown, waking on every message rather than at the
    // harness's 10 ms steps, which would add their own delay to the figure.
    bool PumpUntilNameShown()
    {
        const double deadline = NowMs() + 30000;
        while (ControlText(IDC_LAST_FILE).empty())
        {
            if (NowMs() > deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    std::mt19937 random{static_cast<unsigned>(NowMs())};
};

TEST_F(SnapshotLatency, ClickToFileAtVgaThirtyFps)
{
    DeviceSpec entry = Device(L"01", L"Generic USB Camera", {{640, 480}});
    entry.settings.fps = 30;
    AddDevices({entry});
    support::TempFolder folder;
    CCaptureDlg& dlg = OpenDialog();
    CaptureDlgTestAccess::SetDirectory(dlg, folder.Path());
    CheckDlgButton(dlg.GetSafeHwnd(), IDC_INCREMENT, BST_UNCHECKED);
    NextFrameGrab minimal;
    Microsoft::WRL::ComPtr<IBaseFilter> camera = support::BindDeviceByName(L"Generic USB Camera");
    ASSERT_TRUE(camera);
    ASSERT_EQ(S_OK, minimal.Start(camera.Get()));
    ASSERT_TRUE(PumpUntil([&] { return GraphRuns(CaptureDlgTestAccess::Graph(dlg)); }, 30000));

    std::vector<double> program, baseline;
    for (int i = 0; i < kClicks; ++i)
    {
        PumpRandomPhase();
        SetDlgItemTextA(dlg.GetSafeHwnd(), IDC_LAST_FILE, "");
        double start = NowMs();
        CaptureDlgTestAccess::Action(dlg);
        ASSERT_TRUE(PumpUntilNameShown());
        program.push_back(NowMs() - start);

        PumpRandomPhase();
        start = NowMs();
        ASSERT_TRUE(minimal.SnapTo(folder.Path() + "minimal.bmp"));
        baseline.push_back(NowMs() - start);
    }
    const Figures ours = FiguresOf(program);
    const Figures least = FiguresOf(baseline);
    std::printf("BENCH | snapshot click to closed file, 640x480/30, clicks at random phases "
                "| median %.1f ms, p95 %.1f ms (%d stills) | frame interval %.1f ms "
                "| minimal DirectShow grab to file: median %.1f ms, p95 %.1f ms "
                "| ratio to it: median %.2f, p95 %.2f\n",
                ours.median, ours.p95, kClicks, kFrameMs, least.median, least.p95, ours.median / least.median,
                ours.p95 / least.p95);
}
}  // namespace
