// The main dialog as built from its template: every control's id, class, caption,
// style and rectangle, read from the running program's window and compared with
// the layout the dialog was designed with.
#include <windows.h>
#include <gtest/gtest.h>

#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

struct ExpectedControl
{
    int id;
    const char* className;
    const char* caption;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
    int x, y, w, h;
};

constexpr DWORD kLabel = SS_LEFT | WS_GROUP;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

const ExpectedControl kMainDialog[] = {
    {IDC_MODE_SNAPSHOT, "Button", "Capture Snapshots", BS_AUTORADIOBUTTON | WS_TABSTOP, 366, 155, 75, 11},
    {IDC_MODE_AVI, "Button", "Capture AVI video", BS_AUTORADIOBUTTON, 366, 168, 73, 11},
    {IDC_FILENAME, "Edit", "Tarnview_Capture", kEdit, 229, 273, 126, 12},
    {IDC_LAST_FILE, "Static", "", SS_LEFT | WS_BORDER | SS_SUNKEN | WS_GROUP, 256, 295, 168, 12},
    {IDC_INCREMENT, "Button", "&Increment filename after each capture",
     BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 194, 319, 139, 9},
    {IDC_ACTION, "Button", "&Take Snapshot", BS_DEFPUSHBUTTON | WS_TABSTOP, 339, 119, 65, 17},
    {IDC_CAMERA_NAME, "Static", nullptr, kLabel, 18, 280, 108, 8},
    {IDC_STATIC, "Button", "Mode", BS_GROUPBOX, 361, 143, 84, 42},
    {IDC_STATIC, "Static", "Preview Window", SS_CENTER | WS_GROUP, 7, 8, 67, 10},
    {IDC_PREVIEW, "Static", "", SS_BLACKRECT, 7, 21, 320, 240},
    {IDC_STATIC, "Static", "Last Snapshot", SS_CENTER | WS_GROUP, 337, 9, 58, 10},
    {IDC_LAST_SNAPSHOT, "Static", "", SS_BLACKRECT, 339, 25, 120, 90},
    {IDC_STATIC, "Static", "File name", kLabel, 192, 274, 34, 8},
    {IDC_STATIC, "Static", "Last Captured File:", kLabel, 194, 296, 60, 9},
    {IDC_RESET_COUNTER, "Button", "&Reset Counter", BS_PUSHBUTTON | WS_TABSTOP, 333, 315, 65, 14},
    {IDC_STATUS, "Static", nullptr, kLabel, 18, 291, 165, 22},
    {IDC_STATIC, "Button", "Camera", BS_GROUPBOX, 11, 270, 175, 67},
    {IDC_VIEW_STILL, "Button", "&View Still", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 409, 119, 50, 17},
    {IDC_SETUP_CAMERA, "Button", "Setup Camera", BS_DEFPUSHBUTTON | WS_TABSTOP, 343, 190, 72, 17},
    {IDC_FRAME_RATE, "Edit", "30", kEdit, 404, 216, 28, 12},
    {IDC_STATIC, "Static", "Frame rate", SS_RIGHT | WS_GROUP, 364, 218, 35, 8},
    {IDC_DIRECTORY, "Button", "Directory", BS_DEFPUSHBUTTON | WS_TABSTOP, 364, 271, 59, 17},
    {IDC_CAPTURE_STATUS, "Static", "Not capturing", kLabel, 18, 319, 165, 11},
    {IDC_DURATION, "Edit", "0", kEdit, 404, 231, 28, 12},
    {IDC_STATIC, "Static", "Duration (s)", SS_RIGHT | WS_GROUP, 353, 233, 46, 8},
    {IDC_FORMAT, "Button", "Mode", BS_DEFPUSHBUTTON | WS_TABSTOP, 419, 190, 48, 17},
};

// Converts dialog units to pixels the way the dialog manager did for the running
// program: a dialog of the same template, made in this process from the program's
// own resources, gives MapDialogRect the same font.
class DialogUnits
{
public:
    DialogUnits()
    {
        std::string exe = ExecutableFolder() + "tarnview.exe";
        m_module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (m_module)
            m_dialog = CreateDialogParamA(m_module, MAKEINTRESOURCEA(IDD_MAIN), nullptr, IgnoreAll, 0);
        if (m_dialog)
            ShowWindow(m_dialog, SW_HIDE);
    }
    ~DialogUnits()
    {
        if (m_dialog)
            DestroyWindow(m_dialog);
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Ready() const { return m_dialog != nullptr; }
    RECT ToPixels(int x, int y, int w, int h) const
    {
        // The dialog manager converts position and size separately, so the right
        // edge is the converted x plus the converted width.
        RECT position = {x, y, w, h};
        MapDialogRect(m_dialog, &position);
        return RECT{position.left, position.top, position.left + position.right,
                    position.top + position.bottom};
    }

private:
    static INT_PTR CALLBACK IgnoreAll(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
    HMODULE m_module = nullptr;
    HWND m_dialog = nullptr;
};

constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD kStaticTypeMask = SS_TYPEMASK;

// The dialog manager moves the default-button look with the focus, and edit boxes
// trade WS_BORDER for a client edge, so those bits are compared with that in mind.
void ExpectStyle(const ExpectedControl& expected, const ControlInfo& actual, HWND hwnd)
{
    const DWORD style = static_cast<DWORD>(actual.style);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    const std::string cls = expected.className;
    DWORD wanted = expected.style;
    if (cls == "Button")
    {
        DWORD type = style & kButtonTypeMask, wantedType = wanted & kButtonTypeMask;
        bool pushLike = (wantedType == BS_PUSHBUTTON || wantedType == BS_DEFPUSHBUTTON) &&
                        (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
        EXPECT_TRUE(type == wantedType || pushLike) << "button type " << type;
        wanted &= ~kButtonTypeMask;
        EXPECT_EQ(style & BS_MULTILINE, wanted & BS_MULTILINE);
    }
    else if (cls == "Static")
    {
        EXPECT_EQ(style & kStaticTypeMask, wanted & kStaticTypeMask);
        EXPECT_EQ(style & SS_SUNKEN, wanted & SS_SUNKEN);
        wanted &= ~(kStaticTypeMask | SS_SUNKEN);
    }
    else if (cls == "Edit")
    {
        EXPECT_EQ(style & ES_AUTOHSCROLL, DWORD(ES_AUTOHSCROLL));
        EXPECT_EQ(style & ES_NUMBER, 0u) << "the boxes take any text";
        bool bordered = (style & WS_BORDER) || (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(bordered);
        wanted &= ~(WS_BORDER | ES_AUTOHSCROLL);
    }
    if (wanted & WS_BORDER)
    {
        // Wine trades a static's border for a client edge, as it does for edit boxes.
        const LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
        EXPECT_TRUE((style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
        wanted &= ~WS_BORDER;
    }
    for (DWORD bit : {DWORD(WS_TABSTOP), DWORD(WS_GROUP), DWORD(WS_DISABLED)})
        if (wanted & bit)
        {
            EXPECT_TRUE(style & bit) << "style bit " << std::hex << bit;
        }
}

class TemplateTest : public TarnviewTest
{};

TEST_F(TemplateTest, MainDialogControlsMatchTheLayout)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    DialogUnits units;
    ASSERT_TRUE(units.Ready()) << "the program's dialog template could not be loaded";

    std::vector<ControlInfo> controls = window.Controls();
    ASSERT_EQ(controls.size(), std::size(kMainDialog));
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const ExpectedControl& expected = kMainDialog[i];
        const ControlInfo& actual = controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + actual.text + "\"");
        EXPECT_EQ(actual.id, expected.id);
        EXPECT_STRCASEEQ(actual.className.c_str(), expected.className);
        if (expected.caption)
        {
            EXPECT_EQ(actual.text, expected.caption);
        }
        ExpectStyle(expected, actual, actual.hwnd);
        RECT want = units.ToPixels(expected.x, expected.y, expected.w, expected.h);
        EXPECT_EQ(actual.clientRect.left, want.left);
        EXPECT_EQ(actual.clientRect.top, want.top);
        EXPECT_EQ(actual.clientRect.right, want.right);
        EXPECT_EQ(actual.clientRect.bottom, want.bottom);
    }
}

TEST_F(TemplateTest, MainWindowHasFixedFrameMinimiseBoxAndTaskbarButton)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Caption(), kMainCaption);
    LONG style = GetWindowLongA(window.Handle(), GWL_STYLE);
    LONG exStyle = GetWindowLongA(window.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    DialogUnits units;
    ASSERT_TRUE(units.Ready());
    RECT client = {};
    GetClientRect(window.Handle(), &client);
    RECT want = units.ToPixels(0, 0, 477, 343);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
}

}  // namespace
}  // namespace e2e
