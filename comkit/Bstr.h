// A BSTR that frees itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

class Bstr : NonCopyable
{
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : m_text(text ? SysAllocString(text) : nullptr) {}
    ~Bstr() { SysFreeString(m_text); }

    BSTR Get() const { return m_text; }
    // For an out parameter: frees what was held first.
    BSTR* Receive()
    {
        SysFreeString(m_text);
        m_text = nullptr;
        return &m_text;
    }
    UINT Length() const { return SysStringLen(m_text); }

private:
    BSTR m_text = nullptr;
};

}  // namespace comkit
