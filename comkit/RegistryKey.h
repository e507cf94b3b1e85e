// An open registry key that closes itself.
#pragma once

#include <windows.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

class RegistryKey : NonCopyable
{
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }

    HKEY Get() const { return m_key; }
    // For an out parameter: closes what was held first.
    HKEY* Receive()
    {
        Close();
        return &m_key;
    }
    void Close()
    {
        if (m_key)
        {
            RegCloseKey(m_key);
            m_key = nullptr;
        }
    }

private:
    HKEY m_key = nullptr;
};

}  // namespace comkit
