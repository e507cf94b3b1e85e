// Our AVI mux under Wine's DirectShow with the virtual camera: it is what both routes
// create, its files hold every frame (past 2 GiB too), and stopping in the graph's own
// order, a second run and late samples are safe. The full disk: AviMuxFullDiskTest.cpp.
#include "AviMuxTesting.h"
#include "RecordingGraph.h"
#include "support/TempFolder.h"
#include "TestFiles.h"
#include "WinecompatModule.h"

using Microsoft::WRL::ComPtr;

namespace
{

TEST_F(MuxRecording, AviDestIsOursAndRefusesSamplesWhenStopped)
{
    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mux)));
    EXPECT_EQ(kOurMux, ClassOf(mux.Get()));
    ComPtr<IConfigInterleaving> interleaving;
    ComPtr<IConfigAviMux> config;
    ComPtr<IMediaSeeking> seeking;
    EXPECT_EQ(S_OK, mux.As(&interleaving));
    EXPECT_EQ(S_OK, mux.As(&config));
    EXPECT_EQ(S_OK, mux.As(&seeking));
    EXPECT_EQ(S_OK, interleaving->put_Mode(INTERLEAVE_FULL));

    ComPtr<IPin> input;
    ASSERT_EQ(S_OK, mux->FindPin(L"Input 01", &input));
    ComPtr<IMemInputPin> memInput;
    ASSERT_EQ(S_OK, input.As(&memInput));
    ComPtr<IMemAllocator> allocator;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&allocator)));
    ALLOCATOR_PROPERTIES wanted = {1, 4096, 1, 0}, got = {};
    ASSERT_EQ(S_OK, allocator->SetProperties(&wanted, &got));
    ASSERT_EQ(S_OK, allocator->Commit());
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    EXPECT_EQ(VFW_E_WRONG_STATE, memInput->Receive(sample.Get()));
    sample.Reset();
    allocator->Decommit();
    interleaving.Reset();
    config.Reset();
    seeking.Reset();
    memInput.Reset();
    input.Reset();
    mux.Reset();
    EXPECT_EQ(0, WinecompatLiveObjects());
}

// The graph stops the mux before the camera; the same graph then records a second file.
TEST_F(MuxRecording, StopsInTheGraphsOrderAndRecordsAgain)
{
    CameraDevice device{DeviceSettings{}};
    ASSERT_EQ(S_OK, device.Added());
    const std::string output = ScratchDirUnix() + "/twice.avi";
    ASSERT_EQ(S_OK, Build(device, output));
    EXPECT_EQ(kOurMux, ClassOf(m_mux.Get()));

    HRESULT run = RunFor(m_graph.Get(), 2000);
    EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    // A loaded machine starts the camera late: at least half of each run's frames.
    ExpectEveryFrame(output, 30, 63);

    run = RunFor(m_graph.Get(), 1000);
    EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    ExpectEveryFrame(output, 15, 33);
    ReleaseAll();
}

// 1280x960 RGB24 at 30 fps fills 2 GiB in under 20 s (longer on a loaded machine, so the
// graph runs until it has): the file crosses 2 GiB and two segment boundaries, and every
// frame reads back in order.
TEST_F(MuxRecording, RecordingPastTwoGigabytesKeepsEveryFrame)
{
    DeviceSettings settings;
    settings.formats = {{1280, 960}};
    CameraDevice device{settings};
    ASSERT_EQ(S_OK, device.Added());
    const std::string output = ScratchDirUnix() + "/large.avi";
    ASSERT_EQ(S_OK, Build(device, output));
    const long long past = (1LL << 31) + (64LL << 20);
    const DWORD started = GetTickCount();
    HRESULT run = RunFor(m_graph.Get(), 20000);
    while (support::FileSize(WindowsPathA(output)) < past && GetTickCount() - started < 120000)
        Sleep(250);
    const long secondsRun = static_cast<long>((GetTickCount() - started) / 1000) + 1;
    EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    ReleaseAll();

    const long long size = support::FileSize(WindowsPathA(output));
    printf("%s: %lld bytes\n", output.c_str(), size);
    EXPECT_GT(size, past);
    const long frameBytes = 1280 * 960 * 3;
    ExpectEveryFrame(output, static_cast<long>(past / frameBytes), 30 * secondsRun);
    DeleteFileA(WindowsPathA(output).c_str());
}

}  // namespace
