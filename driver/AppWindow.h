// Reading and working a window of another process through its controls, the way a
// user (or an accessibility tool) would: texts, states, clicks.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace e2e
{

struct ControlInfo
{
    HWND hwnd;
    int id;
    std::string className;
    std::string text;
    LONG style;
    RECT clientRect;  // in the parent dialog's client coordinates
};

class AppWindow
{
public:
    AppWindow() = default;
    explicit AppWindow(HWND hwnd) : m_hwnd(hwnd) {}

    HWND Handle() const { return m_hwnd; }
    explicit operator bool() const { return m_hwnd != nullptr && IsWindow(m_hwnd); }

    HWND Control(int id) const;
    std::string Text(int id) const;
    std::string Caption() const;
    void SetText(int id, const std::string& text) const;
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    bool IsVisible(int id) const;
    bool IsMinimized() const;

    // A mouse click on a button: posted, so that a modal box opened by the handler
    // does not block the test.
    void Click(int id) const;
    // Presses the button and waits until the dialog has handled the click.
    void ClickAndSettle(int id) const;

    // System commands as chosen from the window menu (About, minimise, restore, close).
    void SystemCommand(WPARAM command) const;
    // Waits until the window has processed everything posted to it so far.
    bool Settle(DWORD deadlineMs = 30000) const;

    std::vector<ControlInfo> Controls() const;
    // A checksum of the pixels on screen inside a control: changes while a live
    // picture is drawn there.
    unsigned long long PictureChecksum(int id) const;
    // The mean of the red, green and blue levels (0..255) on screen inside a control.
    double PictureBrightness(int id) const;
    RECT ControlRect(int id) const;  // client coordinates of the dialog

private:
    HWND m_hwnd = nullptr;
};

// The first visible top-level window of the process that `match` accepts, or null.
HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& match);
// A top-level dialog (#32770) of the process with this caption, or null.
HWND FindProcessDialog(DWORD processId, const std::string& caption);
// A control anywhere inside a window (a property page sits two levels down in its frame).
HWND FindControl(HWND parent, int id);

// A visible top-level window owned by the given window (a modal frame it opened), or null.
HWND FindOwnedWindow(HWND owner);

// A visible top-level dialog of the process other than the given one, or null.
HWND FindOtherDialog(DWORD processId, HWND except);

// Caption, class, owner and visibility of every top-level window of the process,
// for failure messages.
std::string DescribeTopLevelWindows(DWORD processId);

// The message text of a message box (its static control).
std::string MessageBoxText(HWND box);

}  // namespace e2e
