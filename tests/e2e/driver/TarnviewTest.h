// The base of every end-to-end scenario: the prefix's virtual devices as the scenario
// wants them, one tarnview.exe per test, and files named so that tests never meet.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "driver/AppWindow.h"
#include "driver/TarnviewProcess.h"
#include "driver/Waiting.h"
#include "ui/resource.h"
#include "vcam/registry/VcamDevices.h"

namespace e2e
{

// Deletes the files in folder (with a trailing backslash) whose names start with prefix.
void DeleteFilesStartingWith(const std::string& folder, const std::string& prefix);

class TarnviewTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Devices for this test, registered before the program starts.
    void AddCamera(const std::wstring& friendlyName, DeviceSettings settings = {}, bool unbindable = false);
    // The usual case: one virtual camera with its default formats at 30 fps.
    void AddDefaultCamera() { AddCamera(L"Tarnview Virtual Camera"); }

    // Starts the program and waits for its main window. With expectPreview, also
    // waits until the preview graph runs ("Preview: ..." in the status line).
    AppWindow Start(bool expectPreview = true);

    // Waits for the "Error!" box, returns its text and presses OK.
    std::string DismissError(DWORD deadlineMs = 60000);

    // A base name unique to this test, written into the file-name box; old files
    // with it are removed from the documents folder.
    std::string UseUniqueBaseName();
    std::string OutputPath(const std::string& fileName) const { return DocumentsFolder() + fileName; }
    bool WaitForFile(const std::string& path, DWORD deadlineMs = 30000) const;
    bool WaitForText(int id, const std::string& text, DWORD deadlineMs = 30000) const;
    bool WaitForTextPrefix(int id, const std::string& prefix, DWORD deadlineMs = 30000) const;
    // The seconds the capture line counts ("Captured: N s..."), -1 when it counts none.
    int CapturedSeconds() const;
    // Waits until the capture line counts at least `seconds`: a loaded machine may
    // deliver a late tick that skips a second, so no exact figure is waited for.
    bool WaitForCapturedSeconds(int seconds, DWORD deadlineMs = 30000) const;

    // Saves a screenshot of the whole screen into the build's artifacts folder.
    std::string Screenshot(const std::string& name) const;

    TarnviewProcess app;
    AppWindow window;
    std::string baseName;

private:
    int m_nextInstance = 0;
};

// The usual start: the default camera, the program running with its preview.
class RunningTarnviewTest : public TarnviewTest
{
protected:
    void SetUp() override
    {
        TarnviewTest::SetUp();
        AddDefaultCamera();
        Start();
        ASSERT_TRUE(window);
    }
};

}  // namespace e2e
