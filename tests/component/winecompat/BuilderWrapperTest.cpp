// CLSID_CaptureGraphBuilder2 in the prefix is our wrapper: SetOutputFileName works as on
// Windows and everything else still reaches Wine's builder.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "TestFiles.h"
#include "comkit/ComApartment.h"
#include "WinecompatModule.h"

using Microsoft::WRL::ComPtr;

namespace
{

ComPtr<ICaptureGraphBuilder2> CreateBuilder(DWORD context)
{
    ComPtr<ICaptureGraphBuilder2> builder;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, context, IID_PPV_ARGS(&builder)));
    return builder;
}

ComPtr<IGraphBuilder> CreateGraph()
{
    ComPtr<IGraphBuilder> graph;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
    return graph;
}

std::wstring OutputPath(const char* name)
{
    return WindowsPathW(ScratchDirUnix() + "/" + name);
}

ComPtr<IPin> ConnectedPeer(ICaptureGraphBuilder2* builder, IBaseFilter* filter, PIN_DIRECTION direction)
{
    ComPtr<IPin> pin, peer;
    if (SUCCEEDED(builder->FindPin(filter, direction, nullptr, nullptr, FALSE, 0, &pin)))
        pin->ConnectedTo(&peer);
    return peer;
}

// Takes over a reference the callee counted. mingw's ComPtr::Attach adds one more, so
// it is not used.
template <class T>
ComPtr<T> Adopt(T* counted)
{
    ComPtr<T> owner;
    *owner.GetAddressOf() = counted;
    return owner;
}

CLSID ClassOf(IBaseFilter* filter)
{
    CLSID clsid = GUID_NULL;
    filter->GetClassID(&clsid);
    return clsid;
}

class WinecompatBuilder : public ::testing::Test
{
protected:
    // Whatever a test made, every object of ours is gone once its references are.
    void TearDown() override { EXPECT_LE(WinecompatLiveObjects(), 0); }

    comkit::ComApartment m_com;
};

TEST_F(WinecompatBuilder, EveryClassContextTheProgramUsesGivesTheWrapper)
{
    for (DWORD context : {DWORD(CLSCTX_ALL), DWORD(CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER),
                          DWORD(CLSCTX_INPROC_SERVER)})
    {
        SCOPED_TRACE(context);
        ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(context);
        ASSERT_TRUE(builder);
        ASSERT_NE(nullptr, WinecompatModule()) << "CoCreateInstance did not follow TreatAs to our DLL";
        EXPECT_GE(WinecompatLiveObjects(), 1);

        ComPtr<IBaseFilter> mux;
        EXPECT_EQ(S_OK, builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("context.avi").c_str(), &mux,
                                                   nullptr));
        EXPECT_TRUE(mux);
    }
    EXPECT_EQ(0, WinecompatLiveObjects());
}

TEST_F(WinecompatBuilder, SetOutputFileNameAddsConnectedMuxAndWriterToTheSetGraph)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
    const std::wstring path = OutputPath("connected.avi");

    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(S_OK, builder->SetOutputFileName(&MEDIASUBTYPE_Avi, path.c_str(), &mux, &sink));
    ASSERT_TRUE(mux && sink);
    // Our mux: CLSID_AviDest is treated as it in the prefix.
    const CLSID ourMux = {0x0b4c1e6d, 0x5a0f, 0x4f37, {0x9c, 0x55, 0x2d, 0x8e, 0x7a, 0x61, 0xb3, 0xf2}};
    EXPECT_EQ(ourMux, ClassOf(mux.Get()));

    FILTER_INFO muxInfo = {};
    ASSERT_EQ(S_OK, mux->QueryFilterInfo(&muxInfo));
    ComPtr<IFilterGraph> muxGraph = Adopt(muxInfo.pGraph);
    EXPECT_TRUE(muxGraph);
    EXPECT_STREQ(L"Mux", muxInfo.achName);

    // The mux's output runs into the filter behind the sink, named after the file.
    ComPtr<IPin> writerPin = ConnectedPeer(builder.Get(), mux.Get(), PINDIR_OUTPUT);
    ASSERT_TRUE(writerPin);
    PIN_INFO pinInfo = {};
    ASSERT_EQ(S_OK, writerPin->QueryPinInfo(&pinInfo));
    ComPtr<IBaseFilter> writer = Adopt(pinInfo.pFilter);
    ComPtr<IFileSinkFilter> writerSink;
    ASSERT_EQ(S_OK, writer.As(&writerSink));
    EXPECT_EQ(sink.Get(), writerSink.Get());
    FILTER_INFO writerInfo = {};
    ASSERT_EQ(S_OK, writer->QueryFilterInfo(&writerInfo));
    if (writerInfo.pGraph)
        writerInfo.pGraph->Release();
    EXPECT_EQ(path, writerInfo.achName);

    LPOLESTR current = nullptr;
    ASSERT_EQ(S_OK, sink->GetCurFile(&current, nullptr));
    EXPECT_EQ(path, current);
    CoTaskMemFree(current);

    // The mux keeps a free input for the capture stream.
    ComPtr<IPin> muxInput;
    EXPECT_EQ(S_OK, builder->FindPin(mux.Get(), PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &muxInput));
}

TEST_F(WinecompatBuilder, SetOutputFileNameWithoutAGraphCreatesOne)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<IGraphBuilder> none;
    EXPECT_EQ(E_UNEXPECTED, builder->GetFiltergraph(&none));

    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(S_OK, builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("own-graph.avi").c_str(), &mux,
                                               nullptr));
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(S_OK, builder->GetFiltergraph(&graph));
    ComPtr<IBaseFilter> found;
    EXPECT_EQ(S_OK, graph->FindFilterByName(L"Mux", &found));
    EXPECT_EQ(mux.Get(), found.Get());
    // Wine's own rule still holds: a graph cannot be replaced once there is one.
    EXPECT_EQ(E_UNEXPECTED, builder->SetFiltergraph(CreateGraph().Get()));
}

TEST_F(WinecompatBuilder, SetOutputFileNameRejectsBadArgumentsAndLeavesTheGraphAlone)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
    const std::wstring path = OutputPath("rejected.avi");
    struct Case
    {
        const GUID* type;
        const wchar_t* file;
        bool wantMux;
        HRESULT expected;
    } cases[] = {
        {nullptr, path.c_str(), true, E_POINTER},
        {&MEDIASUBTYPE_Avi, nullptr, true, E_POINTER},
        {&MEDIASUBTYPE_Avi, path.c_str(), false, E_POINTER},
        {&MEDIASUBTYPE_Avi, L"", true, E_INVALIDARG},
        {&MEDIASUBTYPE_Asf, path.c_str(), true, E_NOTIMPL},
        {&CLSID_AviDest, path.c_str(), true, E_NOTIMPL},
    };
    for (const Case& c : cases)
    {
        IBaseFilter* mux = reinterpret_cast<IBaseFilter*>(1);
        IFileSinkFilter* sink = reinterpret_cast<IFileSinkFilter*>(1);
        EXPECT_EQ(c.expected, builder->SetOutputFileName(c.type, c.file, c.wantMux ? &mux : nullptr, &sink));
        if (c.wantMux)
        {
            EXPECT_EQ(nullptr, mux);
        }
        EXPECT_EQ(nullptr, sink);
    }
    ComPtr<IEnumFilters> filters;
    ASSERT_EQ(S_OK, graph->EnumFilters(&filters));
    ComPtr<IBaseFilter> any;
    EXPECT_EQ(S_FALSE, filters->Next(1, &any, nullptr)) << "a rejected call added filters";
}

// The file is created at once: a path that cannot be written fails here, not at Run.
TEST_F(WinecompatBuilder, UnwritablePathFailsSetOutputFileNameAndAddsNothing)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
              builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("missing-folder/clip.avi").c_str(),
                                         &mux, &sink));
    EXPECT_FALSE(mux || sink);
    ComPtr<IEnumFilters> filters;
    ASSERT_EQ(S_OK, graph->EnumFilters(&filters));
    ComPtr<IBaseFilter> any;
    EXPECT_EQ(S_FALSE, filters->Next(1, &any, nullptr));

    ASSERT_EQ(S_OK,
              builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("created.avi").c_str(), &mux, &sink));
    EXPECT_TRUE(FileExistsUnix(ScratchDirUnix() + "/created.avi"));
}

TEST_F(WinecompatBuilder, OtherMethodsReachWinesBuilder)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<IGraphBuilder> graph = CreateGraph();
    ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
    ComPtr<IGraphBuilder> got;
    ASSERT_EQ(S_OK, builder->GetFiltergraph(&got));
    EXPECT_EQ(graph.Get(), got.Get());

    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(S_OK, builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("methods.avi").c_str(), &mux,
                                               nullptr));
    ComPtr<IConfigAviMux> config;
    EXPECT_EQ(S_OK, builder->FindInterface(nullptr, nullptr, mux.Get(), IID_PPV_ARGS(&config)));
    // Searching downstream from the mux finds the writer's sink interface.
    ComPtr<IFileSinkFilter> sink;
    EXPECT_EQ(S_OK, builder->FindInterface(nullptr, nullptr, mux.Get(), IID_PPV_ARGS(&sink)));
    ComPtr<IPin> connectedOut;
    EXPECT_EQ(E_FAIL, builder->FindPin(mux.Get(), PINDIR_OUTPUT, nullptr, nullptr, TRUE, 0, &connectedOut));
    // Wine's builder has no stream control, copies or preallocation: its answers pass through.
    EXPECT_EQ(E_NOTIMPL, builder->ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, nullptr, nullptr,
                                                nullptr, 0, 0));
}

TEST_F(WinecompatBuilder, OldInterfaceSharesTheObjectAndItsSetOutputFileName)
{
    ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
    ComPtr<ICaptureGraphBuilder> old;
    ASSERT_EQ(S_OK, builder.As(&old));
    ComPtr<IUnknown> fromNew, fromOld;
    builder.As(&fromNew);
    old.As(&fromOld);
    EXPECT_EQ(fromNew.Get(), fromOld.Get());

    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(S_OK, old->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("old.avi").c_str(), &mux, nullptr));
    ComPtr<IConfigAviMux> config;
    EXPECT_EQ(S_OK, old->FindInterface(nullptr, mux.Get(), IID_PPV_ARGS(&config)));
}

TEST_F(WinecompatBuilder, EveryObjectIsGoneAfterRelease)
{
    {
        ComPtr<ICaptureGraphBuilder2> builder = CreateBuilder(CLSCTX_ALL);
        ComPtr<IBaseFilter> mux;
        ComPtr<IFileSinkFilter> sink;
        ASSERT_EQ(S_OK,
                  builder->SetOutputFileName(&MEDIASUBTYPE_Avi, OutputPath("leak.avi").c_str(), &mux, &sink));
        ASSERT_TRUE(SUCCEEDED(builder->FindInterface(nullptr, nullptr, mux.Get(), IID_PPV_ARGS(&sink))));
        EXPECT_GT(WinecompatLiveObjects(), 0);
    }
    EXPECT_EQ(0, WinecompatLiveObjects());
    auto canUnload = WinecompatExport<HRESULT(WINAPI*)()>("DllCanUnloadNow");
    ASSERT_TRUE(canUnload);
    EXPECT_EQ(S_OK, canUnload());
}

}  // namespace
