// Waiting for a condition with a generous deadline, never for a fixed time.
#pragma once

#include <windows.h>
#include <functional>

namespace e2e
{

constexpr DWORD kDefaultDeadlineMs = 30000;

// Polls the condition until it holds or the deadline passes; returns the last result.
// Messages of the calling thread keep being pumped while it waits.
bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs = kDefaultDeadlineMs);

}  // namespace e2e
