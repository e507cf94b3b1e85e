// An MJPG camera of 1280x960 at 30 fps for a minute, previewed and recorded as the
// program does it: its frames through a Smart Tee into the prefix's AVI mux (kept as
// MJPG) and, decoded by the prefix's MJPEG Decompressor, into a sample grabber. Frames
// come from a source filter of the test that sends ready JPEGs in real time, and from
// the virtual camera, which encodes its own; prints the frames lost on either branch
// and the process's CPU time per recorded second.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "CameraDevice.h"
#include "FrameSource.h"
#include "GrabberCallback.h"
#include "JpegFrames.h"
#include "capture/QeditClsids.h"
#include "comkit/ComApartment.h"
#include "support/ProcessFacts.h"
#include "support/TempFolder.h"
#include "support/VideoProbe.h"
#include "unixtools/UnixTools.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

namespace
{

constexpr LONG kWidth = 1280, kHeight = 960;
constexpr int kFps = 30, kSeconds = 60, kFrames = kFps * kSeconds;
constexpr int kDistinct = 60;  // frames are sent round, stamped 0..59
constexpr REFERENCE_TIME kInterval = 10000000 / kFps;

// The stamps of the preview's frames, in arrival order (unreadable ones as -1).
class PreviewStamps final : public GrabberCallback
{
public:
    std::vector<int64_t> Stamps()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_stamps;
    }

    STDMETHODIMP BufferCB(double, BYTE* dib, long bytes) override
    {
        uint32_t number = 0;
        const bool read =
            bytes >= kWidth * kHeight * 3 && ReadFrameNumberFromDib(dib, kWidth, kHeight, &number);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stamps.push_back(read ? number : -1);
        return S_OK;
    }

private:
    std::mutex m_mutex;
    std::vector<int64_t> m_stamps;
};

ComPtr<IPin> PinAt(IBaseFilter* filter, int index)
{
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (FAILED(filter->EnumPins(&pins)) || (index > 0 && FAILED(pins->Skip(index))) ||
        pins->Next(1, &pin, nullptr) != S_OK)
        return nullptr;
    return pin;
}

struct Recording
{
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> mux, tee, grabberFilter, renderer;

    // source -> Smart Tee: capture -> mux -> file; preview -> (decoder) -> grabber -> null.
    HRESULT Build(IBaseFilter* source, const std::wstring& file, PreviewStamps* preview)
    {
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&builder));
        if (SUCCEEDED(hr))
            hr = builder->SetFiltergraph(graph.Get());
        if (SUCCEEDED(hr))
            hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, file.c_str(), &mux, nullptr);
        for (auto [clsid, filter] : {std::pair<const CLSID*, ComPtr<IBaseFilter>*>{&CLSID_SmartTee, &tee},
                                     {&CLSID_SampleGrabber, &grabberFilter},
                                     {&CLSID_NullRenderer, &renderer}})
        {
            if (SUCCEEDED(hr))
                hr = CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(filter->GetAddressOf()));
            if (SUCCEEDED(hr))
                hr = graph->AddFilter(filter->Get(), nullptr);
        }
        ComPtr<ISampleGrabber> grabber;
        if (SUCCEEDED(hr))
            hr = grabberFilter.As(&grabber);
        AM_MEDIA_TYPE rgb24 = {};
        rgb24.majortype = MEDIATYPE_Video;
        rgb24.subtype = MEDIASUBTYPE_RGB24;
        if (SUCCEEDED(hr))
            hr = grabber->SetMediaType(&rgb24);
        if (SUCCEEDED(hr))
            hr = grabber->SetCallback(preview, 1);
        if (SUCCEEDED(hr))
            hr = graph->AddFilter(source, L"Camera");
        // The tee's pins: input, capture, preview.
        const std::pair<ComPtr<IPin>, ComPtr<IPin>> links[] = {
            {PinAt(source, 0), PinAt(tee.Get(), 0)},
            {PinAt(tee.Get(), 1), PinAt(mux.Get(), 0)},
            {PinAt(tee.Get(), 2), PinAt(grabberFilter.Get(), 0)},
            {PinAt(grabberFilter.Get(), 1), PinAt(renderer.Get(), 0)}};
        for (const auto& [from, to] : links)
        {
            if (SUCCEEDED(hr))
                hr = from && to ? graph->Connect(from.Get(), to.Get()) : E_FAIL;
        }
        return hr;
    }
};

// Builds the recording graph around `source`, runs it while `during` runs and returns
// the process's CPU seconds meanwhile (or a negative number when the graph failed).
double RecordInto(IBaseFilter* source, const support::TempFolder& dir, PreviewStamps* preview,
                  const std::function<void()>& during)
{
    Recording recording;
    ComPtr<IMediaControl> control;
    HRESULT hr = recording.Build(source, std::wstring(dir.Path().begin(), dir.Path().end()) + L"minute.avi",
                                 preview);
    if (SUCCEEDED(hr))
        hr = recording.graph.As(&control);
    const double before = support::ProcessCpuMs();
    if (SUCCEEDED(hr))
        hr = control->Run();
    if (FAILED(hr))
        return -1;
    during();
    control->Stop();
    return (support::ProcessCpuMs() - before) / 1000;
}

struct Sent
{
    std::vector<uint32_t> stamps;  // of the frames sent, in order
    long skipped = 0;              // slots that passed while the graph still held the last frame
    long failed = 0;
};

// Sends frame i in slot i, as a camera does; a slot that passed while the graph still
// held the previous frame is skipped, as a camera drops it.
Sent SendInRealTime(testsource::FrameSource* source, const std::vector<std::vector<BYTE>>& jpegs)
{
    Sent sent;
    const LARGE_INTEGER start = support::Now();
    for (int i = 0; i < kFrames; ++i)
    {
        const double wait = static_cast<double>(i) / kFps - support::SecondsSince(start);
        if (wait < -1.0 / kFps)
        {
            ++sent.skipped;
            continue;
        }
        if (wait > 0)
            Sleep(static_cast<DWORD>(wait * 1000));
        const HRESULT hr =
            testsource::SendFrame(source, jpegs[i % kDistinct], i * kInterval, (i + 1) * kInterval);
        sent.failed += hr != S_OK;
        if (hr == S_OK)
            sent.stamps.push_back(i % kDistinct);
    }
    return sent;
}

TEST(MjpegRecordingBench, OneMinuteAt1280x960PreviewedAndRecorded)
{
    comkit::ComApartment com;
    std::vector<std::vector<BYTE>> jpegs;
    size_t largest = 0;
    for (int i = 0; i < kDistinct; ++i)
    {
        jpegs.push_back(testframes::EncodeJpeg(testframes::MakeBarsBgr(kWidth, kHeight, i), kWidth, kHeight));
        largest = std::max(largest, jpegs.back().size());
    }
    ComPtr<IBaseFilter> filter;
    testsource::FrameSource* source = nullptr;
    ASSERT_EQ(S_OK,
              testsource::CreateFrameSource(testsource::VideoType(MAKEFOURCC('M', 'J', 'P', 'G'), kWidth,
                                                                  kHeight, 24, kWidth * kHeight * 3),
                                            &filter, &source));
    support::TempFolder dir("mjpg-minute");
    PreviewStamps preview;
    Sent sent;
    const double cpu = RecordInto(filter.Get(), dir, &preview, [&] { sent = SendInRealTime(source, jpegs); });
    ASSERT_GE(cpu, 0);
    const support::VideoProbe probe = support::ProbeVideo(dir.UnixFile("minute.avi"));
    const std::vector<uint32_t> recorded = support::StampedFrameNumbers(dir.UnixFile("minute.avi"), kWidth);
    const std::vector<int64_t> previewed = preview.Stamps();
    const std::vector<int64_t> expected(sent.stamps.begin(), sent.stamps.end());
    // Lost: the slots the graph was too slow for, and what it did not pass on.
    std::printf(
        "BENCH | MJPG camera 1280x960/30, 60 s previewed and recorded | lost %ld recorded, %ld previewed, of "
        "%d "
        "slots (%ld skipped while the graph was busy) | CPU %.2f s per recorded second (JPEGs of %zu KB; "
        "the sender's own work included)\n",
        kFrames - static_cast<long>(recorded.size()), kFrames - static_cast<long>(previewed.size()), kFrames,
        sent.skipped, cpu / kSeconds, largest / 1024);
    EXPECT_EQ(0, sent.failed);
    EXPECT_EQ("mjpeg", probe.codec);
    EXPECT_EQ(sent.stamps, recorded) << "every frame sent is recorded, in order";
    EXPECT_EQ(expected, previewed) << "every frame sent is previewed, in order";
    DeleteFileA(dir.WindowsFile("minute.avi").c_str());
}

long DroppedByCamera(IBaseFilter* camera, long* sent)
{
    ComPtr<IAMDroppedFrames> counts;
    long dropped = -1;
    *sent = -1;
    if (SUCCEEDED(PinAt(camera, 0).As(&counts)))
    {
        counts->GetNumDropped(&dropped);
        counts->GetNumNotDropped(sent);
    }
    return dropped;
}

// The virtual camera as the program meets it, in the night sky (every strip of the sky
// changes with every frame) and in colour bars (only the stamp's strips change).
TEST(MjpegRecordingBench, VirtualCameraOneMinuteAt1280x960)
{
    comkit::ComApartment com;
    for (ScenePattern pattern : {ScenePattern::NightSky, ScenePattern::ColourBars})
    {
        DeviceSettings settings;
        settings.formats = {{kWidth, kHeight, VideoSubtype::Mjpg}};
        settings.scene.pattern = pattern;
        CameraDevice device(settings);
        ASSERT_EQ(S_OK, device.Added());
        ComPtr<IBaseFilter> camera;
        ASSERT_EQ(S_OK, device.Bind(&camera));
        support::TempFolder dir("mjpg-camera-minute");
        PreviewStamps preview;
        long sent = 0, droppedAtStart = 0;
        const double cpu = RecordInto(camera.Get(), dir, &preview, [&] {
            Sleep(2000);
            droppedAtStart = DroppedByCamera(camera.Get(), &sent);
            Sleep((kSeconds - 2) * 1000);
        });
        ASSERT_GE(cpu, 0);
        const long dropped = DroppedByCamera(camera.Get(), &sent);
        camera.Reset();
        const support::VideoProbe probe = support::ProbeVideo(dir.UnixFile("minute.avi"));
        const std::string load = support::RunUnix("cut -d' ' -f1-3 /proc/loadavg").output;
        std::printf("BENCH | MJPG virtual camera 1280x960/30, %s, 60 s previewed and recorded | %ld frames sent, "
                    "%ld dropped by the camera (%ld in the first 2 s); AVI: %ld slots, %ld empty; %zu previewed | CPU %.2f s per "
                    "recorded second (the camera's encoding included); load average %s\n",
                    pattern == ScenePattern::NightSky ? "night sky" : "colour bars", sent, dropped, droppedAtStart,
                    probe.headerFrames, probe.headerFrames - probe.decodedFrames, preview.Stamps().size(),
                    cpu / kSeconds, load.substr(0, load.find('\n')).c_str());
        EXPECT_EQ("mjpeg", probe.codec);
        EXPECT_EQ(sent, probe.decodedFrames) << "every frame sent is recorded";
        DeleteFileA(dir.WindowsFile("minute.avi").c_str());
    }
}

}  // namespace
