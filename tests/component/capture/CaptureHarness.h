// Running the capture dialog in process against the virtual camera: devices per test,
// the dialog modeless on the test thread, and a watcher that answers "Error!" boxes.
#pragma once

#include "ui/CaptureDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFolder.h"
#include "vcam/registry/VcamDevices.h"

// Friend of CCaptureDlg: the engine's members and the capture state.
class CaptureDlgTestAccess
{
public:
    static IGraphBuilder* Graph(CCaptureDlg& dlg) { return dlg.m_pGraph.Get(); }
    static ISampleGrabber* Grabber(CCaptureDlg& dlg) { return dlg.m_pGrabber.Get(); }
    static int& FormatIndex(CCaptureDlg& dlg) { return dlg.m_nFormatIndex; }
    static int& FileCounter(CCaptureDlg& dlg) { return dlg.m_nFileCounter; }
    static UINT& Timer(CCaptureDlg& dlg) { return dlg.m_nTimer; }
    static int& DurationSec(CCaptureDlg& dlg) { return dlg.m_nDurationSec; }
    static void SetDirectory(CCaptureDlg& dlg, const std::string& directory);
    static void Format(CCaptureDlg& dlg) { dlg.OnFormat(); }
    static void Action(CCaptureDlg& dlg) { dlg.OnAction(); }
    static void SetupCamera(CCaptureDlg& dlg) { dlg.OnSetupCamera(); }
};

// Answers every "Error!" box with OK and keeps its text.
class ErrorBoxWatcher
{
public:
    ErrorBoxWatcher();
    ~ErrorBoxWatcher();
    std::vector<std::string> Texts();
    void Clear();

private:
    void Watch();
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

DeviceSpec Device(const wchar_t* instance, const wchar_t* name, bool unbindable = false);
DeviceSpec Device(const wchar_t* instance, const wchar_t* name, std::vector<VideoFormat> formats);

// Registers the devices (after removing every earlier one) and removes them afterwards.
class CaptureComponentTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void AddDevices(const std::vector<DeviceSpec>& devices);
    // Creates the dialog modeless; its initialisation builds the first preview graph.
    CCaptureDlg& OpenDialog();
    void CloseDialog();

    std::string ControlText(int id);
    void Pump(DWORD milliseconds = 0);
    // Pumps until `done` is true or the time is up.
    template <typename Done>
    bool PumpUntil(Done done, DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (!done())
        {
            if (GetTickCount() - start > timeoutMs)
                return false;
            Pump(10);
        }
        return true;
    }

    ErrorBoxWatcher errors;
    CCaptureDlg* dialog = nullptr;
};

// Live objects of the virtual camera's DLL; -1 when it is not loaded.
LONG VcamLiveObjects();

// Width of the format currently set on the filter's capture pin (0 when unreadable).
LONG CapturePinWidth(IBaseFilter* camera);

// Whether a filter graph is running.
bool GraphRuns(IGraphBuilder* graph);
