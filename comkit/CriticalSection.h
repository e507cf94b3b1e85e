// A Win32 critical section and its scoped lock: recursive (COM calls may re-enter an
// object on the same thread) and without exceptions, unlike std::mutex.
#pragma once

#include <windows.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

class CriticalSection : NonCopyable
{
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class Lock : NonCopyable
{
public:
    explicit Lock(CriticalSection& section) : m_section(section) { m_section.Enter(); }
    ~Lock() { m_section.Leave(); }

private:
    CriticalSection& m_section;
};

}  // namespace comkit
