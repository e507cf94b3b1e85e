// Runs the current test again in a child process, for a scenario that may take its
// process down (a crash inside a platform filter): the parent looks at how it ended.
#pragma once

#include <windows.h>

namespace support
{

// True inside the child that RunCurrentTestInChild started.
bool IsChildRun();

// Starts this test program on the current test alone, as a child, and waits for it
// (up to `deadlineMs`). Returns its exit code; STILL_ACTIVE when it had to be killed,
// and (DWORD)-1 when it could not start.
DWORD RunCurrentTestInChild(DWORD deadlineMs = 120000);

// An exit code that says the process died of an exception (NTSTATUS error severity).
inline bool IsCrashExitCode(DWORD code)
{
    return code != STILL_ACTIVE && code != static_cast<DWORD>(-1) && (code & 0xC0000000u) == 0xC0000000u;
}

}  // namespace support
