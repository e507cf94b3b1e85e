#include "UnixShell.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "TestFiles.h"

namespace {

std::string ReadWholeFile(const std::string& unixPath)
{
    std::ifstream in(WindowsPathA(unixPath), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Splits "...\nrc=N\n" into output and exit code.
bool ParseLog(const std::string& log, ShellResult* result)
{
    size_t marker = log.rfind("rc=");
    if (marker == std::string::npos || (marker > 0 && log[marker - 1] != '\n'))
        return false;
    result->output = log.substr(0, marker);
    result->exitCode = atoi(log.c_str() + marker + 3);
    result->finished = true;
    return true;
}

}  // namespace

ShellResult RunUnixShell(const std::string& command, const std::string& unixLogPath, unsigned timeoutMs)
{
    DeleteFileA(WindowsPathA(unixLogPath).c_str());
    std::string line = "/bin/sh -c \"(" + command + ") > " + unixLogPath + " 2>&1; echo rc=$? >> " +
                       unixLogPath + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ShellResult result;
    if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return result;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The process handle of a Unix program does not say when it ends: poll the log.
    for (unsigned waited = 0; waited <= timeoutMs; waited += 100) {
        if (ParseLog(ReadWholeFile(unixLogPath), &result))
            return result;
        Sleep(100);
    }
    return result;
}
