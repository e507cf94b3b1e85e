#include "CaptureHarness.h"

#include <dvdmedia.h>
#include <wrl/client.h>

#include "capture/StreamFormat.h"
#include "snapshot/GrabBuffer.h"

using Microsoft::WRL::ComPtr;

namespace
{
// AvgTimePerFrame of the camera's current capture format in the dialog's graph.
REFERENCE_TIME CameraFrameDuration(IGraphBuilder* graph)
{
    ComPtr<IBaseFilter> camera;
    ComPtr<IEnumPins> pins;
    if (!graph || graph->FindFilterByName(L"Cap", camera.GetAddressOf()) != S_OK ||
        FAILED(camera->EnumPins(&pins)))
        return -1;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        ComPtr<IAMStreamConfig> config;
        AM_MEDIA_TYPE* type = nullptr;
        if (FAILED(pin.As(&config)) || config->GetFormat(&type) != S_OK)
            continue;
        REFERENCE_TIME duration = -1;
        if (type->formattype == FORMAT_VideoInfo)
            duration = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame;
        else if (type->formattype == FORMAT_VideoInfo2)
            duration = reinterpret_cast<VIDEOINFOHEADER2*>(type->pbFormat)->AvgTimePerFrame;
        CoTaskMemFree(type->pbFormat);
        if (type->pUnk)
            type->pUnk->Release();
        CoTaskMemFree(type);
        return duration;
    }
    return -1;
}

class RecordingGraphTest : public CaptureComponentTest
{
protected:
    CCaptureDlg& OpenWith(DeviceSpec entry)
    {
        AddDevices({entry});
        CCaptureDlg& dlg = OpenDialog();
        dlg.TearDownGraph();
        return dlg;
    }

    HRESULT Record(CCaptureDlg& dlg, const std::string& path, const char* rate)
    {
        SetDlgItemTextA(dlg.GetSafeHwnd(), IDC_FRAME_RATE, rate);
        dlg.TearDownGraph();
        return dlg.BuildRecordingGraph(path.c_str());
    }

    support::TempFolder folder;
};

TEST_F(RecordingGraphTest, RecordsStartsTheClockAndShowsTheWholeLongPath)
{
    CCaptureDlg& dlg = OpenWith(Device(L"01", L"Generic USB Camera"));
    SetDlgItemTextA(dlg.GetSafeHwnd(), IDC_DURATION, "5");
    CaptureDlgTestAccess::FormatIndex(dlg) = 7;  // past the five formats
    std::string path = folder.Path();
    path += std::string(259 - path.size() - 9, 'r') + "_0000.avi";
    ASSERT_EQ(259u, path.size());

    ASSERT_EQ(S_OK, Record(dlg, path, "7")) << testing::PrintToString(errors.Texts());
    EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
    EXPECT_EQ(nullptr, CaptureDlgTestAccess::Grabber(dlg));
    EXPECT_EQ(0, CaptureDlgTestAccess::FormatIndex(dlg));
    EXPECT_NE(0u, CaptureDlgTestAccess::Timer(dlg));
    EXPECT_EQ(5, CaptureDlgTestAccess::DurationSec(dlg));
    EXPECT_EQ("Capturing " + path + " (640x480)", ControlText(IDC_STATUS));
    EXPECT_EQ(1428571, CameraFrameDuration(CaptureDlgTestAccess::Graph(dlg)));

    Pump(1500);
    dlg.TearDownGraph();
    EXPECT_GT(support::ReadFileBytes(path).size(), 0u);
    EXPECT_TRUE(errors.Texts().empty()) << testing::PrintToString(errors.Texts());
    EXPECT_EQ(0, VcamLiveObjects());
}

TEST_F(RecordingGraphTest, FrameRateEntriesAreClampedBeforeTheyReachTheCamera)
{
    CCaptureDlg& dlg = OpenWith(Device(L"01", L"Generic USB Camera"));
    struct Case
    {
        const char* entry;
        REFERENCE_TIME duration;
    };
    int file = 0;
    for (const Case& c : {Case{"45", 333333}, Case{"0", 10000000}, Case{"", 10000000}, Case{"fast", 10000000},
                          Case{"-5", 333333}, Case{"15", 666666}})
    {
        const std::string path = folder.Path() + "rate_" + std::to_string(file++) + ".avi";
        ASSERT_EQ(S_OK, Record(dlg, path, c.entry)) << c.entry;
        EXPECT_EQ(c.duration, CameraFrameDuration(CaptureDlgTestAccess::Graph(dlg))) << c.entry;
    }
    dlg.TearDownGraph();
    EXPECT_TRUE(errors.Texts().empty()) << testing::PrintToString(errors.Texts());
}

TEST_F(RecordingGraphTest, CamerasWithoutUsableStreamConfigStillRecord)
{
    for (unsigned fault : {unsigned(VcamFault::GetFormatFails), unsigned(VcamFault::NoStreamConfig),
                           unsigned(VcamFault::NoCapabilities), unsigned(VcamFault::GetStreamCapsFails)})
    {
        DeviceSpec entry = Device(L"01", L"Generic USB Camera");
        entry.settings.faults = fault;
        CCaptureDlg& faulty = OpenWith(entry);
        EXPECT_EQ(S_OK, Record(faulty, folder.Path() + "fault" + std::to_string(fault) + ".avi", "7"))
            << "fault " << fault;
        CloseDialog();
        RemoveAllDevices();
    }
    EXPECT_TRUE(errors.Texts().empty()) << testing::PrintToString(errors.Texts());
}

// Wine's AVI multiplexer takes no VIDEOINFOHEADER2 stream, so the rate is checked on
// the camera alone: only a VIDEOINFOHEADER format gets the typed rate.
TEST_F(RecordingGraphTest, OnlyAVideoInfoFormatTakesTheRate)
{
    for (bool videoInfo2 : {false, true})
    {
        DeviceSpec entry = Device(L"01", L"Generic USB Camera", {{320, 240}});
        entry.settings.videoInfo2 = videoInfo2;
        CCaptureDlg& dlg = OpenWith(entry);
        ComPtr<IGraphBuilder> graph;
        ComPtr<ICaptureGraphBuilder2> builder;
        ComPtr<IBaseFilter> camera;
        ASSERT_EQ(S_OK,
                  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&builder)));
        dlg.FindCamera(camera.GetAddressOf());
        ASSERT_TRUE(camera);
        ASSERT_EQ(S_OK, graph->AddFilter(camera.Get(), L"Cap"));
        ASSERT_EQ(S_OK, builder->SetFiltergraph(graph.Get()));
        ApplyFrameRate(builder.Get(), camera.Get(), 7);
        EXPECT_EQ(videoInfo2 ? 333333 : 1428571, CameraFrameDuration(graph.Get())) << videoInfo2;
        camera.Reset();
        builder.Reset();
        graph.Reset();
        CloseDialog();
        RemoveAllDevices();
    }
}

TEST_F(RecordingGraphTest, NoCameraReportsKeepsTheEmptyGraphAndStartsNoTimer)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    CCaptureDlg& dlg = OpenDialog();
    dlg.TearDownGraph();
    RemoveAllDevices();
    CaptureDlgTestAccess::Timer(dlg) = 0;
    const std::string status = ControlText(IDC_STATUS);
    EXPECT_EQ(E_FAIL, dlg.BuildRecordingGraph((folder.Path() + "none.avi").c_str()));
    ASSERT_TRUE(PumpUntil([&] { return !errors.Texts().empty(); }, 30000));
    EXPECT_EQ(0u, errors.Texts()[0].find("Cannot find Nightframe or any other camera"));
    EXPECT_NE(nullptr, CaptureDlgTestAccess::Graph(dlg));
    EXPECT_EQ(0u, CaptureDlgTestAccess::Timer(dlg));
    EXPECT_EQ(status, ControlText(IDC_STATUS));
}
}  // namespace
