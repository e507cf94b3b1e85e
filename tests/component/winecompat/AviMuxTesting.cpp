#include "AviMuxTesting.h"

#include "support/VideoProbe.h"
#include "TestFiles.h"
#include "WinecompatModule.h"

using Microsoft::WRL::ComPtr;

const CLSID kOurMux = {0x0b4c1e6d, 0x5a0f, 0x4f37, {0x9c, 0x55, 0x2d, 0x8e, 0x7a, 0x61, 0xb3, 0xf2}};

CLSID ClassOf(IBaseFilter* filter)
{
    CLSID clsid = GUID_NULL;
    filter->GetClassID(&clsid);
    return clsid;
}

LONG_PTR WaitForEvent(IGraphBuilder* graph, long wanted, DWORD timeoutMs)
{
    ComPtr<IMediaEventEx> events;
    if (FAILED(graph->QueryInterface(IID_PPV_ARGS(&events))))
        return E_NOINTERFACE;
    for (DWORD waited = 0; waited < timeoutMs; waited += 50)
    {
        long code = 0;
        LONG_PTR first = 0, second = 0;
        while (events->GetEvent(&code, &first, &second, 50) == S_OK)
        {
            events->FreeEventParams(code, first, second);
            if (code == wanted)
                return first;
        }
    }
    return S_FALSE;
}

void ExpectEveryFrame(const std::string& path, long atLeast, long atMost)
{
    support::VideoProbe info = support::ProbeVideo(path);
    ASSERT_TRUE(info.readable) << info.log;
    EXPECT_FALSE(info.errors) << info.log;
    // The header also counts the empty chunks of frames a loaded camera skipped: those
    // slots cover the time recorded, and no more frames than that time holds are there.
    EXPECT_GE(info.headerFrames, atLeast) << info.log;
    EXPECT_LE(info.decodedFrames, atMost) << info.log;
    EXPECT_LE(info.decodedFrames, info.headerFrames);
    StampCount stamps = CountStamps(support::StampedFrameNumbers(path, info.width));
    EXPECT_EQ(static_cast<size_t>(info.decodedFrames), stamps.frames) << "frames without a readable stamp";
    EXPECT_EQ(0u, stamps.lost);
    EXPECT_EQ(0u, stamps.repeated);
}

void MuxRecording::TearDownTestSuite()
{
    RemoveScratchDir();
}

void MuxRecording::ReleaseAll()
{
    m_mux.Reset();
    m_graph.Reset();
    m_recording.Release();
    EXPECT_EQ(0, WinecompatLiveObjects());
    long threads = support::ThreadsOfThisProcess();
    // Wine ends a thread through its server: on a loaded machine that takes a while.
    for (int waited = 0; threads > m_threadsBefore && waited < 30000; waited += 50)
    {
        Sleep(50);
        threads = support::ThreadsOfThisProcess();
    }
    EXPECT_LE(threads, m_threadsBefore);
}
