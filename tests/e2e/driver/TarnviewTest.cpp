#include "driver/TarnviewTest.h"

#include <windows.h>

#include <cstdio>

#include "unixtools/UnixTools.h"

namespace e2e
{

using namespace support;

namespace
{

std::string TestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

}  // namespace

void DeleteFilesStartingWith(const std::string& folder, const std::string& prefix)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
    {
        DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void TarnviewTest::SetUp()
{
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_HRESULT_SUCCEEDED(RemoveAllDevices());
}

void TarnviewTest::TearDown()
{
    if (app.Running())
    {
        // Whatever box a failed test left open would keep the close from ending the run.
        for (const char* caption : {kErrorCaption, kAboutCaption})
        {
            if (HWND box = FindProcessDialog(app.Id(), caption))
                PressOk(box, 5000);
        }
        if (!app.CloseAndWait(30000))
        {
            ADD_FAILURE() << "tarnview.exe did not end after its close box was pressed";
        }
    }
    app.Kill();
    RemoveAllDevices();
    CoUninitialize();
}

void TarnviewTest::AddCamera(const std::wstring& friendlyName, DeviceSettings settings, bool unbindable)
{
    DeviceSpec entry;
    wchar_t instance[16];
    swprintf(instance, 16, L"%02d", m_nextInstance++);
    entry.instance = instance;
    entry.friendlyName = friendlyName;
    entry.unbindable = unbindable;
    entry.settings = settings;
    ASSERT_HRESULT_SUCCEEDED(AddDevice(entry));
}

AppWindow TarnviewTest::Start(bool expectPreview)
{
    EXPECT_TRUE(app.Start()) << "tarnview.exe could not be started";
    // An unexpected error box at start-up keeps the main window hidden: say what it says.
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = FindProcessDialog(app.Id(), kErrorCaption);
            return box || FindProcessDialog(app.Id(), kMainCaption);
        },
        60000);
    if (box)
    {
        ADD_FAILURE() << "error box at start-up: " << MessageBoxText(box);
        PressOk(box);
    }
    window = app.WaitForMainWindow();
    EXPECT_TRUE(window) << "the main window did not appear";
    if (window && expectPreview)
    {
        EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ")) << "status: " << window.Text(IDC_STATUS);
    }
    return window;
}

std::string TarnviewTest::DismissError(DWORD deadlineMs)
{
    HWND box = app.WaitForDialog(kErrorCaption, deadlineMs);
    if (!box)
        return "<no error box>";
    std::string text = MessageBoxText(box);
    EXPECT_TRUE(PressOk(box));
    return text;
}

std::string TarnviewTest::UseUniqueBaseName()
{
    baseName = TestName();
    DeleteFilesStartingWith(DocumentsFolder(), baseName);
    window.SetText(IDC_FILENAME, baseName);
    return baseName;
}

bool TarnviewTest::WaitForFile(const std::string& path, DWORD deadlineMs) const
{
    return WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, deadlineMs);
}

bool TarnviewTest::WaitForText(int id, const std::string& text, DWORD deadlineMs) const
{
    return WaitUntil([&] { return window.Text(id) == text; }, deadlineMs);
}

bool TarnviewTest::WaitForTextPrefix(int id, const std::string& prefix, DWORD deadlineMs) const
{
    return WaitUntil([&] { return window.Text(id).compare(0, prefix.size(), prefix) == 0; }, deadlineMs);
}

int TarnviewTest::CapturedSeconds() const
{
    int seconds = -1;
    return std::sscanf(window.Text(IDC_CAPTURE_STATUS).c_str(), "Captured: %d s", &seconds) == 1 ? seconds : -1;
}

bool TarnviewTest::WaitForCapturedSeconds(int seconds, DWORD deadlineMs) const
{
    return WaitUntil([&] { return CapturedSeconds() >= seconds; }, deadlineMs);
}

std::string TarnviewTest::Screenshot(const std::string& name) const
{
    std::string folder = ExecutableFolder() + "..\\artifacts\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + name + ".png";
    RunUnix("import -window root " + ShellQuote(UnixPath(path)));
    return path;
}

}  // namespace e2e
