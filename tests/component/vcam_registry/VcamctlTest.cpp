#include <gtest/gtest.h>

#include "DeviceLookup.h"
#include "NoDevicesTest.h"
#include "comkit/Handle.h"
#include "vcam/registry/DeviceSettings.h"
#include "vcam/registry/VcamDevices.h"

using Microsoft::WRL::ComPtr;

namespace
{

using comkit::Handle;

std::wstring BesideThisProgram(const wchar_t* file)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    return dir.substr(0, dir.rfind(L'\\') + 1) + file;
}

std::string ReadWholeFile(const std::wstring& path)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (file.Get() != INVALID_HANDLE_VALUE && ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) &&
           read)
        text.append(chunk, read);
    return text;
}

struct ToolRun
{
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;  // stdout and stderr together
};

// Runs vcamctl with the given arguments, its output going into a file.
ToolRun RunVcamctl(const std::wstring& arguments)
{
    ToolRun run;
    const std::wstring outputPath = BesideThisProgram(L"vcamctl-test-output.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    Handle output(CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (output.Get() == INVALID_HANDLE_VALUE)
        return run;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    std::wstring commandLine = L"\"" + BesideThisProgram(L"vcamctl.exe") + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return run;
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    run.output = ReadWholeFile(outputPath);
    return run;
}

class Vcamctl : public NoDevicesTest
{};

TEST_F(Vcamctl, AddListAndRemoveAllFromTheCommandLine)
{
    EXPECT_EQ(0u, RunVcamctl(L"add 02 \"02 vcx 4100\" --fps=10 --formats=320x240,640x-480 --preview-pin "
                             L"--exposure=4.5 --first-frame-delay=6 --jitter=0.02 --drop-burst=30:5")
                      .exitCode);
    EXPECT_EQ(0u, RunVcamctl(L"add 01 \"01 Generic USB Camera\" --profile=webcam --pattern=bars").exitCode);
    EXPECT_EQ(0u, RunVcamctl(L"add 03 \"03 Unplugged\" --unbindable --faults=no-caps,no-pages").exitCode);
    EXPECT_EQ((std::vector<std::wstring>{L"01 Generic USB Camera", L"02 vcx 4100", L"03 Unplugged"}),
              ListDeviceNames());

    const ToolRun list = RunVcamctl(L"list");
    EXPECT_EQ(0u, list.exitCode);
    EXPECT_EQ("01 Generic USB Camera\n02 vcx 4100\n03 Unplugged\n", list.output);

    ComPtr<IMoniker> moniker = FindDeviceByName(L"02 vcx 4100");
    ASSERT_TRUE(moniker);
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(S_OK, moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)));
    DeviceSettings settings;
    ASSERT_EQ(S_OK, LoadDeviceSettings(bag.Get(), &settings));
    EXPECT_EQ(10u, settings.fps);
    EXPECT_EQ(L"320x240,640x-480", FormatsToText(settings.formats));
    EXPECT_TRUE(settings.previewPin);
    EXPECT_EQ(45000000, settings.scene.exposure);
    EXPECT_EQ(60000000, settings.firstFrameDelay);
    EXPECT_EQ(200000, settings.jitter);
    EXPECT_EQ(30u, settings.dropFrom);
    EXPECT_EQ(5u, settings.dropCount);
    bag.Reset();
    ASSERT_EQ(S_OK, FindDeviceByName(L"01 Generic USB Camera")->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)));
    ASSERT_EQ(S_OK, LoadDeviceSettings(bag.Get(), &settings));
    EXPECT_EQ(L"YUY2:640x480,YUY2:320x240,MJPG:1280x960,MJPG:1280x720", FormatsToText(settings.formats));
    EXPECT_EQ(ScenePattern::ColourBars, settings.scene.pattern);

    EXPECT_EQ(0u, RunVcamctl(L"remove 02").exitCode);
    EXPECT_EQ((std::vector<std::wstring>{L"01 Generic USB Camera", L"03 Unplugged"}), ListDeviceNames());
    EXPECT_EQ(0u, RunVcamctl(L"remove-all").exitCode);
    EXPECT_TRUE(ListDeviceNames().empty());
    EXPECT_EQ("", RunVcamctl(L"list").output);
}

TEST_F(Vcamctl, FailuresSayWhyAndExitNonZero)
{
    const ToolRun usage = RunVcamctl(L"add 01 \"01 Camera\" --fps=0");
    EXPECT_EQ(2u, usage.exitCode);
    EXPECT_NE(std::string::npos, usage.output.find("--fps=0")) << usage.output;
    EXPECT_NE(std::string::npos, usage.output.find("usage:")) << usage.output;
    EXPECT_TRUE(ListDeviceNames().empty()) << "a refused command registers nothing";

    EXPECT_EQ(2u, RunVcamctl(L"").exitCode);
    EXPECT_EQ(2u, RunVcamctl(L"frobnicate").exitCode);
    EXPECT_EQ(2u, RunVcamctl(L"remove").exitCode);
    EXPECT_EQ(2u, RunVcamctl(L"list extra").exitCode);

    const ToolRun missing = RunVcamctl(L"remove 42");
    EXPECT_EQ(1u, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.output.find("42")) << missing.output;
    EXPECT_EQ(0u, RunVcamctl(L"help").exitCode);
}

}  // namespace
