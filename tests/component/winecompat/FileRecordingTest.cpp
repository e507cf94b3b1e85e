// A recording without a camera: a clip made by ffmpeg plays through the AVI splitter
// into the mux and writer that SetOutputFileName sets up; ffprobe reads the result.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "TestClip.h"
#include "RecordingGraph.h"
#include "TestFiles.h"
#include "comkit/ComApartment.h"
#include "support/VideoProbe.h"
#include "WinecompatModule.h"

using Microsoft::WRL::ComPtr;

namespace
{

class FileRecording : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_clip = ScratchDirUnix() + "/source.avi";
        s_clipMade = MakeTestClip(s_clip, 2, 30);
    }
    static void TearDownTestSuite() { RemoveScratchDir(); }

    // Source clip -> splitter -> mux -> writer; false with a failure recorded when not built.
    bool BuildGraph(const std::string& output)
    {
        EXPECT_EQ(S_OK,
                  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_graph)));
        EXPECT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL,
                                         IID_PPV_ARGS(&m_builder)));
        if (!m_graph || !m_builder || FAILED(m_builder->SetFiltergraph(m_graph.Get())))
            return false;
        ComPtr<IBaseFilter> splitter;
        HRESULT hr = AddClipSource(m_graph.Get(), WindowsPathW(s_clip).c_str(), &splitter);
        if (FAILED(hr))
        {
            ADD_FAILURE() << "clip source not built: 0x" << std::hex << hr
                          << " (the AVI splitter needs gstreamer1.0-plugins-good)";
            return false;
        }
        ComPtr<IBaseFilter> mux;
        EXPECT_EQ(S_OK, m_builder->SetOutputFileName(&MEDIASUBTYPE_Avi, WindowsPathW(output).c_str(), &mux,
                                                     nullptr));
        if (!mux)
            return false;
        hr = m_builder->RenderStream(nullptr, &MEDIATYPE_Video, splitter.Get(), nullptr, mux.Get());
        EXPECT_EQ(S_OK, hr);
        return SUCCEEDED(hr);
    }
    void ReleaseGraph()
    {
        m_builder.Reset();
        m_graph.Reset();
    }

    static std::string s_clip;
    static bool s_clipMade;
    comkit::ComApartment m_com;
    ComPtr<IGraphBuilder> m_graph;
    ComPtr<ICaptureGraphBuilder2> m_builder;
};

std::string FileRecording::s_clip;
bool FileRecording::s_clipMade = false;

TEST_F(FileRecording, PlayedClipIsWrittenWholeAndReadable)
{
    ASSERT_TRUE(s_clipMade) << "ffmpeg could not make the source clip";
    const std::string output = ScratchDirUnix() + "/recorded.avi";
    ASSERT_TRUE(BuildGraph(output));

    // The mux passes end-of-stream on to the writer, which completes the graph.
    bool completed = false;
    ASSERT_EQ(S_OK, RunToCompletion(m_graph.Get(), 20000, &completed));
    EXPECT_TRUE(completed);
    ASSERT_EQ(S_OK, StopGraph(m_graph.Get()));
    ReleaseGraph();
    EXPECT_EQ(0, WinecompatLiveObjects());

    const support::VideoProbe info = support::ProbeVideo(output);
    support::ExpectVideo(info, 640, 480, 30.0, 60);
    EXPECT_FALSE(info.errors) << info.log;
}

}  // namespace
