// What the AVI mux component tests share: the recording fixture (reference counts and
// threads checked at release), events, and reading a recording's frames back.
#pragma once

#include "support/ProcessFacts.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "CameraRecordingGraph.h"
#include "comkit/ComApartment.h"
#include "comkit/InterfaceIds.h"

// {0B4C1E6D-5A0F-4F37-9C55-2D8E7A61B3F2}: tarnview-winecompat's mux.
extern const CLSID kOurMux;

CLSID ClassOf(IBaseFilter* filter);
// Waits for an event with the given code; its first parameter, or S_FALSE if none came.
LONG_PTR WaitForEvent(IGraphBuilder* graph, long wanted, DWORD timeoutMs);
// Every frame the camera sent, once and in order, and the header agreeing: at least
// atLeast slots (frames or the empty chunks of skipped ones), at most atMost frames.
void ExpectEveryFrame(const std::string& path, long atLeast, long atMost);
// A recording of a known length: its slots within the tolerance of it.
inline void ExpectEveryFrameNear(const std::string& path, long expected, long tolerance)
{
    ExpectEveryFrame(path, expected - tolerance, expected + tolerance);
}

class MuxRecording : public ::testing::Test
{
protected:
    static void TearDownTestSuite();

    void SetUp() override { m_threadsBefore = support::ThreadsOfThisProcess(); }

    HRESULT Build(const CameraDevice& device, const std::string& output)
    {
        HRESULT hr = m_recording.Build(device, output);
        m_graph = m_recording.graph;
        m_mux = m_recording.mux;
        return hr;
    }

    // Every reference back, no thread left behind (the camera's end with its stream).
    void ReleaseAll();

    comkit::ComApartment m_com;
    long m_threadsBefore = 0;
    CameraRecordingGraph m_recording;
    Microsoft::WRL::ComPtr<IGraphBuilder> m_graph;
    Microsoft::WRL::ComPtr<IBaseFilter> m_mux;
};
