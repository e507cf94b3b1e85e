#include "unixtools/UnixTools.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace support
{

namespace
{

std::atomic<unsigned> g_resultSequence{0};

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ResultFileUnixPath()
{
    return "/tmp/tarnview-unix-" + ProcessTag() + "-" + std::to_string(++g_resultSequence) + ".txt";
}

// The exit status is appended as the file's last line: "__rc=<n>".
void SplitExitCode(UnixResult& result)
{
    const std::string marker = "__rc=";
    size_t at = result.output.rfind(marker);
    if (at == std::string::npos)
        return;
    result.exitCode = atoi(result.output.c_str() + at + marker.size());
    result.output.erase(at);
}

// One argument quoted by the rules that Windows (and Wine, when it starts a Unix
// program) use to split a command line.
std::string ArgvQuote(const std::string& argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument)
    {
        if (c == '\\')
        {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

}  // namespace

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
    {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

const std::string& ProcessTag()
{
    static const std::string tag = [] {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        std::random_device entropy;
        const unsigned long long mixed = static_cast<unsigned long long>(now.QuadPart) ^
                                         (static_cast<unsigned long long>(entropy()) << 20) ^ entropy();
        char text[48];
        snprintf(text, sizeof text, "%lu-%llx", GetCurrentProcessId(), mixed);
        return std::string(text);
    }();
    return tag;
}

UnixResult RunUnix(const std::string& shellCommand, unsigned deadlineMs)
{
    UnixResult result;
    const std::string resultFile = ResultFileUnixPath();
    const std::string script =
        "( " + shellCommand + " ) > " + resultFile + " 2>&1; echo __rc=$? >> " + resultFile;
    std::string line = "/bin/sh -c " + ArgvQuote(script);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return result;
    result.started = true;
    const DWORD start = GetTickCount();
    WaitForSingleObject(info.hProcess, deadlineMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    // The handle of a Unix process need not say when the command ends, and the shell
    // may still be flushing: the exit status line in the file does.
    const std::string dosFile = WindowsPathOfUnix(resultFile);
    do
    {
        result.output = ReadWholeFile(dosFile);
        if (result.output.find("__rc=") != std::string::npos)
            break;
        Sleep(25);
    } while (GetTickCount() - start < deadlineMs + 10000);
    DeleteFileA(dosFile.c_str());
    SplitExitCode(result);
    return result;
}

std::string UnixPath(const std::string& windowsPath)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return windowsPath;
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
    char* unix = toUnix(wide);
    if (!unix)
        return windowsPath;
    std::string path(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string ValueOf(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    }
    return {};
}

std::string WindowsPathOfUnix(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
    {
        if (c == '/')
            c = '\\';
    }
    return path;
}

}  // namespace support
