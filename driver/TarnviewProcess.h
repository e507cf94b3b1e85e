// Starts tarnview.exe (by default from the folder the driver itself runs from), finds its windows,
// closes it as a user would, and makes sure it never outlives the test.
#pragma once

#include <windows.h>
#include <string>

#include "driver/AppWindow.h"

namespace e2e
{

constexpr char kMainCaption[] = "Tarnview Video Capture";
constexpr char kErrorCaption[] = "Error!";
constexpr char kAboutCaption[] = "About Tarnview";

class TarnviewProcess
{
public:
    TarnviewProcess() = default;
    ~TarnviewProcess();
    TarnviewProcess(const TarnviewProcess&) = delete;
    TarnviewProcess& operator=(const TarnviewProcess&) = delete;

    // Starts the program beside this executable, or the one given by its path.
    bool Start(const std::string& program = std::string());
    // The main dialog once it is visible (after any start-up error box was dismissed).
    AppWindow WaitForMainWindow(DWORD deadlineMs = 60000);
    // A visible dialog of the process with this caption ("Error!", "About Tarnview").
    HWND WaitForDialog(const std::string& caption, DWORD deadlineMs = 60000) const;
    bool HasDialog(const std::string& caption) const;

    // The close box: WM_SYSCOMMAND SC_CLOSE, then waits for the process to end.
    bool CloseAndWait(DWORD deadlineMs = 60000);
    bool WaitForExit(DWORD deadlineMs) const;
    DWORD ExitCode() const;
    DWORD Id() const { return m_info.dwProcessId; }
    bool Running() const;

    void Kill();

private:
    PROCESS_INFORMATION m_info{};
    HWND m_main = nullptr;
};

std::string ExecutableFolder();  // with a trailing backslash
std::string DocumentsFolder();   // with a trailing backslash, as the program picks it

// Presses the OK button of a dialog or message box and waits until it is gone.
bool PressOk(HWND dialog, DWORD deadlineMs = 30000);

}  // namespace e2e
