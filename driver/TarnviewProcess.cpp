#include "driver/TarnviewProcess.h"

#include <shlobj.h>

#include "driver/Waiting.h"

namespace e2e
{

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string DocumentsFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\";
}

TarnviewProcess::~TarnviewProcess()
{
    Kill();
}

bool TarnviewProcess::Start(const std::string& program)
{
    const std::string exe = program.empty() ? ExecutableFolder() + "tarnview.exe" : program;
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &m_info))
        return false;
    WaitForInputIdle(m_info.hProcess, 30000);
    return true;
}

HWND TarnviewProcess::WaitForDialog(const std::string& caption, DWORD deadlineMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessDialog(Id(), caption)) != nullptr; }, deadlineMs);
    return found;
}

bool TarnviewProcess::HasDialog(const std::string& caption) const
{
    return FindProcessDialog(Id(), caption) != nullptr;
}

AppWindow TarnviewProcess::WaitForMainWindow(DWORD deadlineMs)
{
    m_main = WaitForDialog(kMainCaption, deadlineMs);
    return AppWindow(m_main);
}

bool TarnviewProcess::Running() const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool TarnviewProcess::WaitForExit(DWORD deadlineMs) const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, deadlineMs) == WAIT_OBJECT_0;
}

DWORD TarnviewProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool TarnviewProcess::CloseAndWait(DWORD deadlineMs)
{
    if (!Running())
        return true;
    HWND main = m_main ? m_main : FindProcessDialog(Id(), kMainCaption);
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForExit(deadlineMs);
}

void TarnviewProcess::Kill()
{
    if (!m_info.hProcess)
        return;
    if (Running())
    {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 10000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
    m_info = PROCESS_INFORMATION{};
}

bool PressOk(HWND dialog, DWORD deadlineMs)
{
    if (!dialog)
        return false;
    HWND ok = GetDlgItem(dialog, IDOK);
    if (ok)
        PostMessageA(ok, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, deadlineMs);
}

}  // namespace e2e
