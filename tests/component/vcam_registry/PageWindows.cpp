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

namespace
{

struct TitleSearch
{
    const std::wstring* text;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM param)
{
    TitleSearch* search = reinterpret_cast<TitleSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd) ||
        std::wstring(title).find(*search->text) == std::wstring::npos)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopLevelWindow(const std::wstring& text)
{
    TitleSearch search{&text, nullptr};
    EnumWindows(&MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
