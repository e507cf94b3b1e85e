// Our AVI mux under Wine's DirectShow with the virtual camera: it is what both routes
// create, its files hold every frame (past 2 GiB too), a full disk is reported as
// EC_ERRORABORT with a readable file left, and stopping in the graph's own order, a
// second run and late samples are safe.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include "AviProbe.h"
#include "CameraDevice.h"
#include "CameraRecordingGraph.h"
#include "ComApartment.h"
#include "RecordingGraph.h"
#include "SmallDisk.h"
#include "TestFiles.h"
#include "UnixShell.h"
#include "WinecompatModule.h"
#include "comkit/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

// {0B4C1E6D-5A0F-4F37-9C55-2D8E7A61B3F2}: tarnview-winecompat's mux.
const CLSID kOurMux = {0x0b4c1e6d, 0x5a0f, 0x4f37, {0x9c, 0x55, 0x2d, 0x8e, 0x7a, 0x61, 0xb3, 0xf2}};

long ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    long count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

CLSID ClassOf(IBaseFilter* filter)
{
    CLSID clsid = GUID_NULL;
    filter->GetClassID(&clsid);
    return clsid;
}

// Waits for an event with the given code; its first parameter, or S_FALSE if none came.
LONG_PTR WaitForEvent(IGraphBuilder* graph, long wanted, DWORD timeoutMs)
{
    ComPtr<IMediaEventEx> events;
    if (FAILED(graph->QueryInterface(IID_PPV_ARGS(&events))))
        return E_NOINTERFACE;
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        long code = 0;
        LONG_PTR first = 0, second = 0;
        while (events->GetEvent(&code, &first, &second, 50) == S_OK) {
            events->FreeEventParams(code, first, second);
            if (code == wanted)
                return first;
        }
    }
    return S_FALSE;
}

class MuxRecording : public ::testing::Test {
protected:
    static void TearDownTestSuite() { RemoveScratchDir(); }

    void SetUp() override { m_threadsBefore = ThreadsOfThisProcess(); }

    HRESULT Build(const CameraDevice& device, const std::string& output)
    {
        HRESULT hr = m_recording.Build(device, output);
        m_graph = m_recording.graph;
        m_mux = m_recording.mux;
        return hr;
    }

    // Every reference back, no thread left behind (the camera's end with its stream).
    void ReleaseAll()
    {
        m_mux.Reset();
        m_graph.Reset();
        m_recording.Release();
        EXPECT_EQ(0, WinecompatLiveObjects());
        long threads = ThreadsOfThisProcess();
        for (int waited = 0; threads > m_threadsBefore && waited < 5000; waited += 50) {
            Sleep(50);
            threads = ThreadsOfThisProcess();
        }
        EXPECT_LE(threads, m_threadsBefore);
    }

    ComApartment m_com;
    long m_threadsBefore = 0;
    CameraRecordingGraph m_recording;
    ComPtr<IGraphBuilder> m_graph;
    ComPtr<IBaseFilter> m_mux;
};

// Every frame the camera sent, once and in order, and the header agreeing.
void ExpectEveryFrame(const std::string& path, long expected, long tolerance)
{
    AviVideoInfo info = ProbeAvi(path);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_FALSE(info.errors) << info.log;
    EXPECT_NEAR(expected, info.decodedFrames, tolerance) << info.log;
    EXPECT_EQ(info.decodedFrames, info.headerFrames);
    StampCount stamps = CountStamps(StampedFrameNumbers(path));
    EXPECT_EQ(static_cast<size_t>(info.decodedFrames), stamps.frames) << "frames without a readable stamp";
    EXPECT_EQ(0u, stamps.lost);
    EXPECT_EQ(0u, stamps.repeated);
}

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
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&allocator)));
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
    ExpectEveryFrame(output, 60, 3);

    run = RunFor(m_graph.Get(), 1000);
    EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    ExpectEveryFrame(output, 30, 3);
    ReleaseAll();
}

TEST_F(MuxRecording, FullDiskRaisesErrorAbortAndLeavesAPlayableFile)
{
    CameraDevice device{DeviceSettings{}};
    ASSERT_EQ(S_OK, device.Added());
    const std::string kept = ScratchDirUnix() + "/full.avi";
    {
        const std::string mount = ScratchDirUnix() + "/small-disk";
        SmallDisk disk(mount, 12);
        ASSERT_TRUE(disk.Mounted()) << "a 12 MB tmpfs is needed for this test (run as root): " << disk.Why();
        ASSERT_EQ(S_OK, Build(device, mount + "/full.avi"));
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, m_graph.As(&control));
        HRESULT run = control->Run();
        EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL), static_cast<HRESULT>(WaitForEvent(m_graph.Get(), EC_ERRORABORT, 20000)));
        EXPECT_EQ(S_OK, control->Stop());
        control.Reset();
        ReleaseAll();
        ShellResult moved = RunUnixShell("mv " + mount + "/full.avi " + kept, ScratchDirUnix() + "/mv.log", 30000);
        ASSERT_EQ(0, moved.exitCode) << moved.output;
    }
    // 12 MB hold about 12 frames of 640x480.
    ExpectEveryFrame(kept, 12, 2);
}

// 1280x960 RGB24 at 30 fps fills 2 GiB in under 20 s: the file crosses 2 GiB and two
// segment boundaries, and every frame reads back in order.
TEST_F(MuxRecording, RecordingPastTwoGigabytesKeepsEveryFrame)
{
    DeviceSettings settings;
    settings.formats = {{1280, 960}};
    CameraDevice device{settings};
    ASSERT_EQ(S_OK, device.Added());
    const std::string output = ScratchDirUnix() + "/large.avi";
    ASSERT_EQ(S_OK, Build(device, output));
    HRESULT run = RunFor(m_graph.Get(), 22000);
    EXPECT_TRUE(run == S_OK || run == S_FALSE) << std::hex << run;
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    ReleaseAll();

    const long long size = FileSizeUnix(output);
    printf("%s: %lld bytes\n", output.c_str(), size);
    EXPECT_GT(size, 1LL << 31);
    ExpectEveryFrame(output, 660, 10);
    DeleteFileA(WindowsPathA(output).c_str());
}

}  // namespace
