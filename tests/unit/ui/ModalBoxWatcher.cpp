#include "ModalBoxWatcher.h"

#include <algorithm>
#include <cstring>

namespace
{
const char* const kWatchedTitles[] = {"Error!", "About Tarnview"};

bool IsWatched(const char* title)
{
    for (const char* watched : kWatchedTitles)
        if (std::strcmp(title, watched) == 0)
            return true;
    return false;
}

BOOL CALLBACK FirstStaticText(HWND child, LPARAM out)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    // An icon static's text is the icon's resource number, not words.
    if (_stricmp(className, "Static") != 0 || (style & SS_TYPEMASK) == SS_ICON || text[0] == '\0')
        return TRUE;
    *reinterpret_cast<std::string*>(out) = text;
    return FALSE;
}
}  // namespace

ModalBoxWatcher::ModalBoxWatcher() : m_thread([this] { Watch(); })
{
}

ModalBoxWatcher::~ModalBoxWatcher()
{
    m_stop = true;
    m_thread.join();
}

std::vector<SeenBox> ModalBoxWatcher::Take()
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<SeenBox> seen;
    seen.swap(m_seen);
    return seen;
}

void ModalBoxWatcher::Watch()
{
    while (!m_stop)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_closing.erase(
                std::remove_if(m_closing.begin(), m_closing.end(), [](HWND h) { return !IsWindow(h); }),
                m_closing.end());
        }
        EnumWindows(&ModalBoxWatcher::OnWindow, reinterpret_cast<LPARAM>(this));
        Sleep(50);
    }
}

BOOL CALLBACK ModalBoxWatcher::OnWindow(HWND hWnd, LPARAM selfParam)
{
    auto* self = reinterpret_cast<ModalBoxWatcher*>(selfParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hWnd, &process);
    char title[64] = {};
    GetWindowTextA(hWnd, title, sizeof title);
    if (process != GetCurrentProcessId() || !IsWindowVisible(hWnd) || !IsWatched(title))
        return TRUE;
    std::lock_guard<std::mutex> guard(self->m_lock);
    if (std::find(self->m_closing.begin(), self->m_closing.end(), hWnd) != self->m_closing.end())
        return TRUE;
    SeenBox box{title, "", GetWindow(hWnd, GW_OWNER)};
    EnumChildWindows(hWnd, FirstStaticText, reinterpret_cast<LPARAM>(&box.text));
    self->m_seen.push_back(box);
    self->m_closing.push_back(hWnd);
    PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}
