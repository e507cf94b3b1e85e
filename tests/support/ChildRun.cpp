#include "support/ChildRun.h"

#include <gtest/gtest.h>

#include <string>

namespace support
{

namespace
{
const char kChildVariable[] = "TARNVIEW_TEST_CHILD";
}

bool IsChildRun()
{
    return GetEnvironmentVariableA(kChildVariable, nullptr, 0) != 0;
}

DWORD RunCurrentTestInChild(DWORD deadlineMs)
{
    char program[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, program, MAX_PATH))
        return static_cast<DWORD>(-1);
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string line =
        std::string("\"") + program + "\" --gtest_filter=" + test->test_suite_name() + "." + test->name();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    SetEnvironmentVariableA(kChildVariable, "1");
    const BOOL started =
        CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    if (!started)
        return static_cast<DWORD>(-1);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, deadlineMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace support
