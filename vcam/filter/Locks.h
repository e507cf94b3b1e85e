// A recursive critical section and its scoped guard: COM calls into the filter may
// re-enter it on the same thread (a graph's Reconnect calls back into the pin).
#pragma once

#include <windows.h>

class CritSec
{
public:
    CritSec() { InitializeCriticalSection(&m_cs); }
    ~CritSec() { DeleteCriticalSection(&m_cs); }
    CritSec(const CritSec&) = delete;
    CritSec& operator=(const CritSec&) = delete;
    void Enter() { EnterCriticalSection(&m_cs); }
    void Leave() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

class CritSecLock
{
public:
    explicit CritSecLock(CritSec& cs) : m_cs(cs) { m_cs.Enter(); }
    ~CritSecLock() { m_cs.Leave(); }
    CritSecLock(const CritSecLock&) = delete;
    CritSecLock& operator=(const CritSecLock&) = delete;

private:
    CritSec& m_cs;
};
