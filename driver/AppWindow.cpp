#include "driver/AppWindow.h"

namespace e2e
{

namespace
{

constexpr UINT kSendTimeoutMs = 60000;

std::string WindowText(HWND hwnd)
{
    if (!hwnd)
        return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL,
                        kSendTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

std::string ClassOf(HWND hwnd)
{
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

bool OfProcess(HWND hwnd, DWORD processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner == processId;
}

bool IsDialog(HWND hwnd)
{
    return ClassOf(hwnd) == "#32770";
}

}  // namespace

HWND AppWindow::Control(int id) const
{
    return GetDlgItem(m_hwnd, id);
}

std::string AppWindow::Text(int id) const
{
    return WindowText(Control(id));
}

std::string AppWindow::Caption() const
{
    return WindowText(m_hwnd);
}

void AppWindow::SetText(int id, const std::string& text) const
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        kSendTimeoutMs, &ignored);
}

bool AppWindow::IsEnabled(int id) const
{
    return IsWindowEnabled(Control(id)) != FALSE;
}

bool AppWindow::IsChecked(int id) const
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &state);
    return state == BST_CHECKED;
}

bool AppWindow::IsVisible(int id) const
{
    return IsWindowVisible(Control(id)) != FALSE;
}

bool AppWindow::IsMinimized() const
{
    return IsIconic(m_hwnd) != FALSE;
}

void AppWindow::Click(int id) const
{
    PostMessageA(Control(id), BM_CLICK, 0, 0);
}

void AppWindow::ClickAndSettle(int id) const
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored);
    Settle();
}

void AppWindow::SystemCommand(WPARAM command) const
{
    PostMessageA(m_hwnd, WM_SYSCOMMAND, command, 0);
}

bool AppWindow::Settle(DWORD deadlineMs) const
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(m_hwnd, WM_NULL, 0, 0, SMTO_NORMAL, deadlineMs, &ignored) != 0;
}

unsigned long long AppWindow::PictureChecksum(int id) const
{
    RECT rect;
    GetWindowRect(Control(id), &rect);
    HDC screen = GetDC(nullptr);
    unsigned long long sum = 0;
    for (int y = rect.top; y < rect.bottom; y += 4)
        for (int x = rect.left; x < rect.right; x += 8)
            sum = sum * 31 + GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return sum;
}

double AppWindow::PictureBrightness(int id) const
{
    RECT rect;
    GetWindowRect(Control(id), &rect);
    HDC screen = GetDC(nullptr);
    double sum = 0;
    long samples = 0;
    for (int y = rect.top; y < rect.bottom; y += 4)
        for (int x = rect.left; x < rect.right; x += 8)
        {
            const COLORREF pixel = GetPixel(screen, x, y);
            sum += (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3.0;
            ++samples;
        }
    ReleaseDC(nullptr, screen);
    return samples ? sum / samples : 0;
}

RECT AppWindow::ControlRect(int id) const
{
    RECT rect = {};
    HWND control = Control(id);
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<ControlInfo> AppWindow::Controls() const
{
    std::vector<ControlInfo> controls;
    // Z order of the children is the template order.
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (GetParent(child) != m_hwnd)
            continue;
        ControlInfo info{};
        info.hwnd = child;
        info.id = static_cast<int>(static_cast<short>(GetDlgCtrlID(child)));
        info.className = ClassOf(child);
        info.text = WindowText(child);
        info.style = GetWindowLongA(child, GWL_STYLE);
        GetWindowRect(child, &info.clientRect);
        MapWindowPoints(HWND_DESKTOP, m_hwnd, reinterpret_cast<POINT*>(&info.clientRect), 2);
        controls.push_back(info);
    }
    return controls;
}

HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& match)
{
    struct Search
    {
        DWORD processId;
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{processId, &match, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) {
            auto* search = reinterpret_cast<Search*>(param);
            if (!OfProcess(hwnd, search->processId) || !IsWindowVisible(hwnd) || !(*search->match)(hwnd))
                return TRUE;
            search->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessDialog(DWORD processId, const std::string& caption)
{
    return FindTopLevel(processId,
                        [&caption](HWND hwnd) { return IsDialog(hwnd) && WindowText(hwnd) == caption; });
}

HWND FindControl(HWND parent, int id)
{
    struct ControlSearch
    {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) {
            auto* search = reinterpret_cast<ControlSearch*>(param);
            if (GetDlgCtrlID(child) != search->id)
                return TRUE;
            search->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOwnedWindow(HWND owner)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    return FindTopLevel(processId, [owner](HWND hwnd) { return GetWindow(hwnd, GW_OWNER) == owner; });
}

namespace
{
struct WindowListing
{
    DWORD processId;
    std::string text;
};

BOOL CALLBACK DescribeWindow(HWND hwnd, LPARAM param)
{
    auto* listing = reinterpret_cast<WindowListing*>(param);
    if (!OfProcess(hwnd, listing->processId))
        return TRUE;
    char line[512];
    snprintf(line, sizeof line, "[%p \"%s\" %s owner=%p %s] ", static_cast<void*>(hwnd),
             WindowText(hwnd).c_str(), ClassOf(hwnd).c_str(), static_cast<void*>(GetWindow(hwnd, GW_OWNER)),
             IsWindowVisible(hwnd) ? "visible" : "hidden");
    listing->text += line;
    return TRUE;
}
}  // namespace

HWND FindOtherDialog(DWORD processId, HWND except)
{
    return FindTopLevel(processId, [except](HWND hwnd) { return hwnd != except && IsDialog(hwnd); });
}

std::string DescribeTopLevelWindows(DWORD processId)
{
    WindowListing listing{processId, {}};
    EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&listing));
    return listing.text;
}

std::string MessageBoxText(HWND box)
{
    // The message box shows its text in a static control with the id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

}  // namespace e2e
