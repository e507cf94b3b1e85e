// vcamctl: adds, removes and lists the virtual camera's video input devices.
#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "comkit/ComApartment.h"
#include "vcam/registry/VcamDevices.h"
#include "vcam/tool/CommandLine.h"
#include "vcam/tool/ConsoleText.h"

namespace
{

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

std::vector<std::wstring> Arguments()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

int Fail(const std::wstring& what, HRESULT hr)
{
    WriteText(STD_ERROR_HANDLE, L"vcamctl: " + what + L": " + DescribeHresult(hr) + L"\n");
    return ExitFailed;
}

int Remove(const std::wstring& instance)
{
    const HRESULT hr = RemoveDevice(instance);
    if (hr == S_FALSE)
    {
        WriteText(STD_ERROR_HANDLE, L"vcamctl: no device with instance name " + instance + L"\n");
        return ExitFailed;
    }
    if (hr == VCAM_E_NOT_OURS)
    {
        WriteText(STD_ERROR_HANDLE,
                  L"vcamctl: device " + instance + L" was not added by vcamctl; left alone\n");
        return ExitFailed;
    }
    return FAILED(hr) ? Fail(L"cannot remove device " + instance, hr) : 0;
}

int List()
{
    std::wstring text;
    for (const std::wstring& name : ListDeviceNames())
        text += name + L"\n";
    WriteText(STD_OUTPUT_HANDLE, text);
    return 0;
}

int Run(const ToolCommand& command)
{
    HRESULT hr = S_OK;
    switch (command.action)
    {
    case ToolAction::Add:
        hr = AddDevice(command.device);
        if (hr == VCAM_E_NOT_OURS)
        {
            WriteText(STD_ERROR_HANDLE, L"vcamctl: instance name " + command.device.instance +
                                            L" belongs to a device not added by vcamctl\n");
            return ExitFailed;
        }
        return FAILED(hr) ? Fail(L"cannot add device " + command.device.instance, hr) : 0;
    case ToolAction::Remove:
        return Remove(command.device.instance);
    case ToolAction::RemoveAll:
        hr = RemoveAllDevices();
        return FAILED(hr) ? Fail(L"cannot remove every device", hr) : 0;
    case ToolAction::List:
        return List();
    default:
        WriteText(STD_OUTPUT_HANDLE, ToolUsage());
        return 0;
    }
}

}  // namespace

int main()
{
    ToolCommand command;
    std::wstring error;
    if (!ParseToolCommand(Arguments(), &command, &error))
    {
        WriteText(STD_ERROR_HANDLE, L"vcamctl: " + error + L"\n\n" + ToolUsage());
        return ExitUsage;
    }
    comkit::ComApartment com;
    if (FAILED(com.Result()))
        return Fail(L"cannot start COM", com.Result());
    return Run(command);
}
