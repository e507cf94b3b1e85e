#include "PageWindows.h"

HostWindow::HostWindow()
    : m_hwnd(CreateWindowExW(0, L"STATIC", L"Page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 300,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
{
}

HostWindow::~HostWindow()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

HWND FindTopLevelWindow(const std::wstring& text)
{
    return e2e::FindTopLevel(GetCurrentProcessId(), [&text](HWND hwnd) {
        wchar_t title[256] = {};
        GetWindowTextW(hwnd, title, 256);
        return std::wstring(title).find(text) != std::wstring::npos;
    });
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TypeInto(HWND edit, const wchar_t* text)
{
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    // Single-line edits send EN_CHANGE on WM_SETTEXT already; a second one is harmless.
    SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE),
                 reinterpret_cast<LPARAM>(edit));
}
