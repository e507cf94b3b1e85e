// Window helpers for driving the settings page as a user would.
#pragma once

#include <windows.h>
#include <string>

#include "comkit/NonCopyable.h"
#include "driver/AppWindow.h"

// A plain top-level window to host the page, destroyed with the holder.
class HostWindow : comkit::NonCopyable
{
public:
    HostWindow();
    ~HostWindow();
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

// The first descendant of `parent` with this control id, or null.
using e2e::FindControl;

// A visible top-level window of this process whose title contains `text`, or null.
HWND FindTopLevelWindow(const std::wstring& text);

void PumpMessages();

// Types into an edit box the way keyboard input ends up: text set, EN_CHANGE sent.
void TypeInto(HWND edit, const wchar_t* text);
