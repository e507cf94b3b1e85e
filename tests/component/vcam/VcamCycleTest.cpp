// Build, run, stop and release a graph with the camera over and over: no object, handle
// or memory may pile up, and nothing may hang. The bench build runs the full 1,000.
#include <gtest/gtest.h>

#include <cstdio>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "support/ProcessFacts.h"
#include <psapi.h>

namespace
{

#ifdef VCAM_FULL_CYCLES
constexpr int Cycles = 1000;
#else
constexpr int Cycles = 200;
#endif

// Wine reports neither private bytes nor a handle count; the working set and the
// process's threads (each streaming thread is one) do show what piles up.
SIZE_T WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// One cycle; returns the number of frames seen.
size_t OneCycle(const std::wstring& name)
{
    ComPtr<IBaseFilter> camera = BindDeviceByName(name);
    EXPECT_TRUE(camera);
    if (!camera)
        return 0;
    FrameRecorder recorder;
    GrabGraph graph;
    EXPECT_EQ(S_OK, graph.Build(camera.Get(), &recorder));
    // Start the stream at once rather than after the graph's default start delay.
    ComPtr<IMediaFilter> graphFilter;
    graph.graph.As(&graphFilter);
    ComPtr<IReferenceClock> clock;
    graph.graph->SetDefaultSyncSource();
    graphFilter->GetSyncSource(&clock);
    REFERENCE_TIME now = 0;
    if (clock)
        clock->GetTime(&now);
    EXPECT_EQ(S_OK, graphFilter->Run(now));
    recorder.WaitFor(2);
    EXPECT_EQ(S_OK, graph.control->Stop());
    return recorder.Count();
}

}  // namespace

TEST(VcamCycles, BuildRunStopReleaseLeavesNothingBehind)
{
    ComApartment com;
    DeviceScope devices;
    const std::wstring name = L"Tarnview Cycle Camera";
    devices.Add(name);
    ASSERT_EQ(0, LiveObjects());

    for (int i = 0; i < 5; ++i)  // warm up Wine's own caches before measuring
        OneCycle(name);
    const long threadsBefore = support::ThreadsOfThisProcess();
    const SIZE_T bytesBefore = WorkingSet();
    const LONGLONG started = NowUs();
    size_t silentCycles = 0;
    for (int i = 0; i < Cycles; ++i)
    {
        if (OneCycle(name) < 2)
            ++silentCycles;
        ASSERT_EQ(0, LiveObjects()) << "cycle " << i;
        if (HasFailure())
            break;
    }
    const double msPerCycle = (NowUs() - started) / 1000.0 / Cycles;
    const long threadGrowth = support::ThreadsOfThisProcess() - threadsBefore;
    const double memoryGrowthKb =
        (static_cast<double>(WorkingSet()) - static_cast<double>(bytesBefore)) / 1024.0;
    std::printf(
        "BENCH | vcam build-run-stop-release cycles | %d cycles, %.1f ms per cycle, %zu without two frames "
        "| threads %ld%+ld, working set %.0f KiB%+.0f KiB\n",
        Cycles, msPerCycle, silentCycles, threadsBefore, threadGrowth, bytesBefore / 1024.0, memoryGrowthKb);
    EXPECT_EQ(0u, silentCycles);
    EXPECT_LE(threadGrowth, 2);
    EXPECT_LT(memoryGrowthKb, 8.0 * 1024.0 + Cycles * 4.0);
}
