// A kernel handle that closes itself; both null and INVALID_HANDLE_VALUE mean none, as
// CreateFile and CreateEvent differ in what they return on failure.
#pragma once

#include <windows.h>

#include <utility>

namespace comkit
{

class Handle
{
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    // Closes now and says whether the close succeeded (closing a file may flush it and
    // fail); true when there was nothing to close.
    bool Close()
    {
        const bool closed = !Valid() || CloseHandle(m_handle) != FALSE;
        m_handle = nullptr;
        return closed;
    }
    void Reset(HANDLE handle = nullptr)
    {
        if (Valid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};

}  // namespace comkit
