// CLSID_FilterGraph in the prefix is our wrapper around Wine's graph: the video window
// lands where the program puts it inside its preview frame, and the graph is otherwise
// Wine's, one COM object with one reference count.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "TestClip.h"
#include "PreviewFrame.h"
#include "RecordingGraph.h"
#include "TestFiles.h"
#include "comkit/ComApartment.h"
#include "WinecompatModule.h"

using Microsoft::WRL::ComPtr;

namespace
{

// mingw-w64 has no __uuidof for several DirectShow interfaces: query by IID.
template <class T>
ComPtr<T> Query(IUnknown* from, REFIID iid)
{
    ComPtr<T> to;
    if (from)
        from->QueryInterface(iid, &to);
    return to;
}

ComPtr<IUnknown> IdentityOf(IUnknown* object)
{
    return Query<IUnknown>(object, IID_IUnknown);
}

ComPtr<IGraphBuilder> CreateGraph(DWORD context = CLSCTX_INPROC_SERVER)
{
    ComPtr<IGraphBuilder> graph;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, context, IID_PPV_ARGS(&graph)));
    return graph;
}

ComPtr<IBaseFilter> AddVideoRenderer(IGraphBuilder* graph)
{
    ComPtr<IBaseFilter> renderer;
    EXPECT_EQ(S_OK,
              CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer)));
    if (renderer)
    {
        EXPECT_EQ(S_OK, graph->AddFilter(renderer.Get(), L"Video Renderer"));
    }
    return renderer;
}

// The program's own placement of the video window in its preview frame.
enum class Order
{
    StyleFirst,
    VisibleFirst
};

void PlaceAsTheProgramDoes(IVideoWindow* window, HWND frame, Order order)
{
    RECT rect = {};
    GetWindowRect(frame, &rect);
    EXPECT_EQ(S_OK, window->put_Owner(reinterpret_cast<OAHWND>(frame)));
    EXPECT_EQ(S_OK, window->put_Left(0));
    EXPECT_EQ(S_OK, window->put_Top(0));
    EXPECT_EQ(S_OK, window->put_Width(rect.right - rect.left));
    EXPECT_EQ(S_OK, window->put_Height(rect.bottom - rect.top));
    const LONG style = WS_CHILD | WS_CLIPSIBLINGS;
    if (order == Order::StyleFirst)
    {
        EXPECT_EQ(S_OK, window->put_WindowStyle(style));
        EXPECT_EQ(S_OK, window->put_Visible(OATRUE));
    }
    else
    {
        EXPECT_EQ(S_OK, window->put_Visible(OATRUE));
        EXPECT_EQ(S_OK, window->put_WindowStyle(style));
    }
    PumpMessages();
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

void ExpectCovers(HWND video, const RECT& expected)
{
    RECT actual = {};
    ASSERT_TRUE(GetWindowRect(video, &actual));
    EXPECT_TRUE(EqualRect(&actual, &expected))
        << "video window at " << Describe(actual) << ", frame at " << Describe(expected);
}

class WinecompatGraph : public ::testing::Test
{
protected:
    void TearDown() override { EXPECT_LE(WinecompatLiveObjects(), 0); }

    comkit::ComApartment m_com;
};

TEST_F(WinecompatGraph, EveryClassContextTheProgramUsesGivesTheWrapper)
{
    for (DWORD context : {DWORD(CLSCTX_ALL), DWORD(CLSCTX_INPROC_SERVER)})
    {
        SCOPED_TRACE(context);
        ComPtr<IGraphBuilder> graph = CreateGraph(context);
        ASSERT_TRUE(graph);
        ASSERT_NE(nullptr, WinecompatModule()) << "CoCreateInstance did not follow TreatAs to our DLL";
        EXPECT_EQ(1, WinecompatLiveObjects());
    }
    EXPECT_EQ(0, WinecompatLiveObjects());
}

// Whatever interface is asked, it is one object: the same IUnknown, the same window,
// also from the pointer a filter receives when it joins the graph.
TEST_F(WinecompatGraph, EveryInterfaceLeadsBackToOneObject)
{
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ASSERT_TRUE(graph);
    ComPtr<IUnknown> identity = IdentityOf(graph.Get());
    ComPtr<IVideoWindow> window = Query<IVideoWindow>(graph.Get(), IID_IVideoWindow);
    ASSERT_TRUE(identity && window);
    const IID interfaces[] = {IID_IGraphBuilder,   IID_IFilterGraph, IID_IFilterGraph2, IID_IMediaControl,
                              IID_IMediaEventEx,   IID_IMediaEvent,  IID_IMediaFilter,  IID_IMediaSeeking,
                              IID_IMediaEventSink, IID_IBasicVideo,  IID_IVideoWindow,  IID_IPersist};
    for (const IID& iid : interfaces)
    {
        ComPtr<IUnknown> facet = Query<IUnknown>(graph.Get(), iid);
        ASSERT_TRUE(facet) << "missing interface " << iid.Data1;
        EXPECT_EQ(identity.Get(), IdentityOf(facet.Get()).Get()) << iid.Data1;
        EXPECT_EQ(window.Get(), Query<IVideoWindow>(facet.Get(), IID_IVideoWindow).Get()) << iid.Data1;
    }

    ComPtr<IBaseFilter> renderer = AddVideoRenderer(graph.Get());
    FILTER_INFO info = {};
    ASSERT_EQ(S_OK, renderer->QueryFilterInfo(&info));
    ComPtr<IFilterGraph> joined;
    *joined.GetAddressOf() = info.pGraph;  // takes over the counted reference
    EXPECT_EQ(identity.Get(), IdentityOf(joined.Get()).Get());
    EXPECT_EQ(window.Get(), Query<IVideoWindow>(joined.Get(), IID_IVideoWindow).Get());
}

TEST_F(WinecompatGraph, ReferencesFromAnyInterfaceCountOnOneObject)
{
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ComPtr<IMediaControl> control = Query<IMediaControl>(graph.Get(), IID_IMediaControl);
    ComPtr<IVideoWindow> window = Query<IVideoWindow>(graph.Get(), IID_IVideoWindow);
    ASSERT_TRUE(control && window);
    // Only the inner window's interfaces are left: releasing them must end the graph.
    graph.Reset();
    control.Reset();
    EXPECT_EQ(1, WinecompatLiveObjects());
    AddVideoRenderer(Query<IGraphBuilder>(window.Get(), IID_IGraphBuilder).Get());
    window.Reset();
    EXPECT_EQ(0, WinecompatLiveObjects());
    auto canUnload = WinecompatExport<HRESULT(WINAPI*)()>("DllCanUnloadNow");
    ASSERT_TRUE(canUnload);
    EXPECT_EQ(S_OK, canUnload());
}

class VideoWindowPlacement : public WinecompatGraph, public ::testing::WithParamInterface<Order>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Created());
        m_graph = CreateGraph();
        ASSERT_TRUE(m_graph);
        AddVideoRenderer(m_graph.Get());
        m_window = Query<IVideoWindow>(m_graph.Get(), IID_IVideoWindow);
        ASSERT_TRUE(m_window);
    }
    void TearDown() override
    {
        if (m_window)
        {
            m_window->put_Visible(OAFALSE);
            m_window->put_Owner(0);
        }
        m_window.Reset();
        m_graph.Reset();
        WinecompatGraph::TearDown();
    }
    HWND VideoHwnd() const { return GetWindow(m_frame.Frame(), GW_CHILD); }

    PreviewFrame m_frame;
    ComPtr<IGraphBuilder> m_graph;
    ComPtr<IVideoWindow> m_window;
};

TEST_P(VideoWindowPlacement, CoversThePreviewFrameExactlyAndIsShown)
{
    PlaceAsTheProgramDoes(m_window.Get(), m_frame.Frame(), GetParam());
    HWND video = VideoHwnd();
    ASSERT_NE(nullptr, video) << "the video window is not a child of its owner";
    ExpectCovers(video, m_frame.FrameOnScreen());
    EXPECT_TRUE(IsWindowVisible(video));
    LONG visible = OAFALSE;
    EXPECT_EQ(S_OK, m_window->get_Visible(&visible));
    EXPECT_EQ(OATRUE, visible);
}

TEST_P(VideoWindowPlacement, PositionsReadAndWriteInTheOwnersClientArea)
{
    PlaceAsTheProgramDoes(m_window.Get(), m_frame.Frame(), GetParam());
    LONG left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(S_OK, m_window->get_Left(&left));
    EXPECT_EQ(S_OK, m_window->get_Top(&top));
    EXPECT_EQ(0, left);
    EXPECT_EQ(0, top);
    EXPECT_EQ(S_OK, m_window->GetWindowPosition(&left, &top, &width, &height));
    EXPECT_EQ(0, left);
    EXPECT_EQ(0, top);
    EXPECT_EQ(PreviewFrame::kFrameWidth, width);
    EXPECT_EQ(PreviewFrame::kFrameHeight, height);

    // Moving one coordinate keeps the other and the size.
    EXPECT_EQ(S_OK, m_window->put_Left(7));
    EXPECT_EQ(S_OK, m_window->put_Top(11));
    EXPECT_EQ(S_OK, m_window->put_Left(5));
    RECT expected = m_frame.FrameOnScreen();
    OffsetRect(&expected, 5, 11);
    ExpectCovers(VideoHwnd(), expected);
    EXPECT_EQ(S_OK, m_window->GetWindowPosition(&left, &top, &width, &height));
    EXPECT_EQ(5, left);
    EXPECT_EQ(11, top);
    EXPECT_EQ(PreviewFrame::kFrameWidth, width);
    EXPECT_EQ(PreviewFrame::kFrameHeight, height);

    // SetWindowPosition and the size calls agree with the rest.
    EXPECT_EQ(S_OK, m_window->SetWindowPosition(3, 4, 100, 50));
    EXPECT_EQ(S_OK, m_window->get_Left(&left));
    EXPECT_EQ(S_OK, m_window->get_Top(&top));
    EXPECT_EQ(S_OK, m_window->get_Width(&width));
    EXPECT_EQ(S_OK, m_window->get_Height(&height));
    EXPECT_EQ(3, left);
    EXPECT_EQ(4, top);
    EXPECT_EQ(100, width);
    EXPECT_EQ(50, height);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, VideoWindowPlacement,
                         ::testing::Values(Order::StyleFirst, Order::VisibleFirst),
                         [](const ::testing::TestParamInfo<Order>& info) {
                             return info.param == Order::StyleFirst ? "StyleFirst" : "VisibleFirst";
                         });

// A top-level video window is placed on the screen, as before it had an owner.
TEST_F(VideoWindowPlacement, WithoutAnOwnerPositionsAreScreenCoordinates)
{
    PlaceAsTheProgramDoes(m_window.Get(), m_frame.Frame(), Order::StyleFirst);
    HWND video = VideoHwnd();
    ASSERT_NE(nullptr, video);
    EXPECT_EQ(S_OK, m_window->put_Owner(0));
    EXPECT_EQ(S_OK, m_window->put_Left(50));
    EXPECT_EQ(S_OK, m_window->put_Top(60));
    RECT rect = {};
    GetWindowRect(video, &rect);
    EXPECT_EQ(50, rect.left);
    EXPECT_EQ(60, rect.top);
    LONG left = -1, top = -1;
    EXPECT_EQ(S_OK, m_window->get_Left(&left));
    EXPECT_EQ(S_OK, m_window->get_Top(&top));
    EXPECT_EQ(50, left);
    EXPECT_EQ(60, top);
}

TEST_F(VideoWindowPlacement, NullOutputsAreRefused)
{
    LONG value = 0;
    EXPECT_EQ(E_POINTER, m_window->get_Left(nullptr));
    EXPECT_EQ(E_POINTER, m_window->get_Top(nullptr));
    EXPECT_EQ(E_POINTER, m_window->GetWindowPosition(&value, nullptr, &value, &value));
}

// Without a renderer there is no window: Wine's answer comes back, nothing is written.
TEST_F(WinecompatGraph, PlacementWithoutARendererFailsAndLeavesOutputsAlone)
{
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ComPtr<IVideoWindow> window = Query<IVideoWindow>(graph.Get(), IID_IVideoWindow);
    ASSERT_TRUE(window);
    LONG left = 123;
    EXPECT_EQ(E_NOINTERFACE, window->get_Left(&left));
    EXPECT_EQ(123, left);
    EXPECT_EQ(E_NOINTERFACE, window->put_Top(0));
}

// A clip played through the wrapped graph into the video renderer: Wine's own Render,
// Run, events and Stop, with the window placed in the frame.
TEST_F(WinecompatGraph, ClipPlaysThroughTheWrappedGraphIntoThePlacedWindow)
{
    const std::string clip = ScratchDirUnix() + "/graph-clip.avi";
    ASSERT_TRUE(MakeTestClip(clip, 1, 30)) << "ffmpeg could not make the clip";
    PreviewFrame frame;
    ASSERT_TRUE(frame.Created());
    {
        ComPtr<IGraphBuilder> graph = CreateGraph();
        ASSERT_EQ(S_OK, graph->RenderFile(WindowsPathW(clip).c_str(), nullptr));
        ComPtr<IVideoWindow> window = Query<IVideoWindow>(graph.Get(), IID_IVideoWindow);
        ASSERT_TRUE(window);
        PlaceAsTheProgramDoes(window.Get(), frame.Frame(), Order::VisibleFirst);

        bool completed = false;
        ASSERT_EQ(S_OK, RunToCompletion(graph.Get(), 20000, &completed));
        EXPECT_TRUE(completed);
        PumpMessages();
        ExpectCovers(GetWindow(frame.Frame(), GW_CHILD), frame.FrameOnScreen());
        EXPECT_EQ(S_OK, StopGraph(graph.Get()));
        window->put_Visible(OAFALSE);
        window->put_Owner(0);
    }
    EXPECT_EQ(0, WinecompatLiveObjects());
}

// The capture graph builder adds its mux and writer to our graph; the filters it adds
// see our graph as theirs.
TEST_F(WinecompatGraph, CaptureBuilderBuildsInTheWrappedGraph)
{
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ComPtr<ICaptureGraphBuilder2> builder;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&builder)));
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
    ComPtr<IBaseFilter> mux;
    const std::wstring path = WindowsPathW(ScratchDirUnix() + "/graph-builder.avi");
    ASSERT_EQ(S_OK, builder->SetOutputFileName(&MEDIASUBTYPE_Avi, path.c_str(), &mux, nullptr));
    FILTER_INFO info = {};
    ASSERT_EQ(S_OK, mux->QueryFilterInfo(&info));
    ComPtr<IFilterGraph> joined;
    *joined.GetAddressOf() = info.pGraph;
    EXPECT_EQ(IdentityOf(graph.Get()).Get(), IdentityOf(joined.Get()).Get());
}

}  // namespace
