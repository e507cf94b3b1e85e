// CString: the framework's ANSI string, as much of it as the program uses.
#pragma once

#include <windows.h>

#include <string>

class CString
{
public:
    CString() = default;
    CString(LPCSTR psz) : m_text(psz != nullptr ? psz : "") {}

    operator LPCSTR() const { return m_text.c_str(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }

    // The string resource nID of the resource module, whole, whatever its length.
    // FALSE, and the text unchanged, when there is no such string or it is empty.
    BOOL LoadString(UINT nID);

private:
    std::string m_text;
};
