// A recording through Wine's AVI mux and file writer, connected by hand, read back with
// ffprobe and ffmpeg: the right number of frames, size, and consecutive frame numbers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GrabGraph.h"
#include "VcamTestSupport.h"
#include "vcam/frame/FrameStamp.h"

namespace {

std::string ReadFile(const std::string& windowsPath)
{
    std::ifstream in(windowsPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Runs a Unix shell command; its output lands in a file, since Wine returns neither
// pipes nor exit codes from Unix processes. Returns the output, or "" on timeout.
std::string RunUnix(const std::string& command, const std::string& logPath)
{
    DeleteFileA(WindowsPath(logPath).c_str());
    std::string line = "/bin/sh -c \"(" + command + ") > " + logPath + " 2>&1; echo rc=$? >> " + logPath + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return std::string();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 600; ++i) {
        const std::string log = ReadFile(WindowsPath(logPath));
        if (log.find("rc=") != std::string::npos)
            return log;
        Sleep(100);
    }
    return std::string();
}

int ValueAfter(const std::string& text, const std::string& key)
{
    const size_t at = text.find(key + "=");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 1);
}

// Wine's own file writer offers the mux no IStream, so its mux cannot run: the mux and
// writer come from the capture graph builder, which the project's Wine prefix replaces
// with one that writes files (tarnview-winecompat). The camera is connected by hand, or
// by RenderStream as the program does it (through a Smart Tee for a camera without a
// preview pin).
enum class Route { ByHand, RenderStream };

HRESULT BuildRecording(IGraphBuilder* graph, IBaseFilter* camera, const std::wstring& file, Route route)
{
    ComPtr<ICaptureGraphBuilder2> builder;
    HRESULT hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&builder));
    if (SUCCEEDED(hr))
        hr = builder->SetFiltergraph(graph);
    if (FAILED(hr))
        return hr;
    ComPtr<IBaseFilter> mux;
    ComPtr<IFileSinkFilter> sink;
    hr = builder->SetOutputFileName(&MEDIASUBTYPE_Avi, file.c_str(), &mux, &sink);
    if (FAILED(hr))
        return hr;
    graph->AddFilter(camera, L"Camera");
    if (route == Route::RenderStream)
        return builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, mux.Get());
    return graph->Connect(PinOfCategory(camera, PIN_CATEGORY_CAPTURE).Get(), FirstPin(mux.Get(), PINDIR_INPUT).Get());
}

class VcamRecording : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (const std::string& path : {unixAvi, unixRaw, unixAvi + ".probe", unixAvi + ".decode"})
            DeleteFileA(WindowsPath(path).c_str());
    }

    // Records `ms` from the Run call to the Stop call, then reads the file's stream back.
    void Record(IBaseFilter* camera, Route route, DWORD ms)
    {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
        const HRESULT hr = BuildRecording(graph.Get(), camera, std::wstring(windowsAvi.begin(), windowsAvi.end()), route);
        if (hr == E_NOTIMPL)
            GTEST_SKIP() << "the capture graph builder writes no files (tarnview-winecompat not registered)";
        ASSERT_EQ(S_OK, hr);
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph.As(&control));
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Running));
        Sleep(ms);
        ASSERT_EQ(S_OK, WaitForState(control.Get(), State_Stopped));
        graph.Reset();
        probe = RunUnix("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                        "stream=width,height,nb_read_frames,r_frame_rate -of default=nw=1 " + unixAvi,
                        unixAvi + ".probe");
        std::printf("vcam recording: %d frames of %dx%d in %lu ms\n", ValueAfter(probe, "nb_read_frames"),
                    ValueAfter(probe, "width"), ValueAfter(probe, "height"), ms);
    }

    // Every frame in the file, in order, by the numbers stamped into the pictures.
    void ExpectConsecutiveFrames(LONG width, LONG height, size_t atLeast)
    {
        const std::string decode = RunUnix("ffmpeg -v error -y -i " + unixAvi + " -f rawvideo -pix_fmt bgr24 " +
                                           unixRaw, unixAvi + ".decode");
        const std::string pixels = ReadFile(WindowsPath(unixRaw));
        const size_t frameBytes = static_cast<size_t>(width) * height * 3;
        ASSERT_GE(pixels.size(), frameBytes * atLeast) << decode;
        uint32_t previous = 0;
        for (size_t i = 0; i < pixels.size() / frameBytes; ++i) {
            uint32_t number = 0;
            ASSERT_TRUE(ReadFrameNumberTopDown(reinterpret_cast<const BYTE*>(pixels.data() + i * frameBytes), width,
                                               height, width * 3, &number)) << "frame " << i;
            if (i > 0) {
                EXPECT_EQ(previous + 1, number) << "frame " << i;
            }
            previous = number;
        }
    }

    ComApartment com;
    DeviceScope devices;
    const std::string unixAvi = "/tmp/tarnview-vcam-" + std::to_string(GetCurrentProcessId()) + ".avi";
    const std::string unixRaw = unixAvi + ".bgr";
    const std::string windowsAvi = WindowsPath(unixAvi);
    std::string probe;
};

} // namespace

// The camera captures from the moment it is run: two seconds from Run to Stop hold
// two seconds of frames, although the graph starts its stream 200 ms after Run.
TEST_F(VcamRecording, TwoSecondsAtThirtyFramesPerSecond)
{
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Recording Camera");
    ASSERT_TRUE(camera);
    Record(camera.Get(), Route::ByHand, 2000);
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_EQ(640, ValueAfter(probe, "width")) << probe;
    EXPECT_EQ(480, ValueAfter(probe, "height")) << probe;
    EXPECT_NEAR(60, ValueAfter(probe, "nb_read_frames"), 2) << probe;
    ExpectConsecutiveFrames(640, 480, 58);
}

// A camera whose own format is a VIDEOINFOHEADER2 also offers each format with a
// VIDEOINFOHEADER, which is all Wine's AVI mux takes, also behind a Smart Tee.
TEST_F(VcamRecording, VideoInfo2CameraRecordsAtItsOwnRate)
{
    DeviceSettings settings;
    settings.videoInfo2 = true;
    settings.fps = 20;
    ComPtr<IBaseFilter> camera = devices.Add(L"Tarnview Recording Camera", settings);
    ASSERT_TRUE(camera);
    AM_MEDIA_TYPE* format = nullptr;
    ASSERT_EQ(S_OK, StreamConfigOf(PinOfCategory(camera.Get(), PIN_CATEGORY_CAPTURE).Get())->GetFormat(&format));
    const GUID formatType = format->formattype;
    DeleteMediaTypeRecord(format);
    EXPECT_EQ(FORMAT_VideoInfo2, formatType);

    Record(camera.Get(), Route::RenderStream, 2000);
    if (IsSkipped() || HasFatalFailure())
        return;
    EXPECT_EQ(640, ValueAfter(probe, "width")) << probe;
    EXPECT_NEAR(40, ValueAfter(probe, "nb_read_frames"), 2) << probe;
    EXPECT_NE(std::string::npos, probe.find("r_frame_rate=20/1")) << probe;
    ExpectConsecutiveFrames(640, 480, 38);
}
