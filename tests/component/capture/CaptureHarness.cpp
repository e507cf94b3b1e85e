#include "CaptureHarness.h"

#include <cstring>
#include <memory>

#include "comkit/ComApartment.h"
#include "support/GrabBufferReset.h"

namespace
{
// COM for the test thread, as the application object joins it for the dialog.
class ComEnvironment : public testing::Environment
{
public:
    void SetUp() override { m_com.reset(new comkit::ComApartment()); }
    void TearDown() override
    {
        RemoveAllDevices();
        m_com.reset();
    }

private:
    std::unique_ptr<comkit::ComApartment> m_com;
};
const testing::Environment* const comApartment = testing::AddGlobalTestEnvironment(new ComEnvironment);
}  // namespace

void CaptureDlgTestAccess::SetDirectory(CCaptureDlg& dlg, const std::string& directory)
{
    ASSERT_LT(directory.size(), sizeof dlg.m_szDirectory);
    std::memcpy(dlg.m_szDirectory, directory.c_str(), directory.size() + 1);
}

ErrorBoxWatcher::ErrorBoxWatcher() : m_thread([this] { Watch(); })
{
}

ErrorBoxWatcher::~ErrorBoxWatcher()
{
    m_stop.store(true);
    m_thread.join();
}

std::vector<std::string> ErrorBoxWatcher::Texts()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_texts;
}

void ErrorBoxWatcher::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_texts.clear();
}

void ErrorBoxWatcher::Watch()
{
    while (!m_stop.load())
    {
        HWND box = FindWindowA("#32770", "Error!");
        if (box && IsWindowVisible(box))
        {
            char text[512] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_texts.push_back(text);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            // Let the box go before looking again, so one box is counted once.
            for (int i = 0; i < 100 && IsWindow(box); ++i)
                Sleep(10);
        }
        Sleep(20);
    }
}

DeviceSpec Device(const wchar_t* instance, const wchar_t* name, bool unbindable)
{
    DeviceSpec entry;
    entry.instance = instance;
    entry.friendlyName = name;
    entry.unbindable = unbindable;
    return entry;
}

DeviceSpec Device(const wchar_t* instance, const wchar_t* name, std::vector<VideoFormat> formats)
{
    DeviceSpec entry = Device(instance, name);
    entry.settings.formats = std::move(formats);
    return entry;
}

void CaptureComponentTest::SetUp()
{
    support::ResetGrabBuffer();
    ASSERT_TRUE(SUCCEEDED(RemoveAllDevices()));
}

void CaptureComponentTest::TearDown()
{
    CloseDialog();
    support::ResetGrabBuffer();
    RemoveAllDevices();
}

void CaptureComponentTest::AddDevices(const std::vector<DeviceSpec>& devices)
{
    for (const DeviceSpec& entry : devices)
        ASSERT_EQ(S_OK, AddDevice(entry)) << "adding device " << entry.instance.size();
}

CCaptureDlg& CaptureComponentTest::OpenDialog()
{
    dialog = new CCaptureDlg();
    EXPECT_TRUE(dialog->Create(IDD_MAIN, nullptr));
    Pump(50);
    return *dialog;
}

void CaptureComponentTest::CloseDialog()
{
    if (!dialog)
        return;
    dialog->DestroyWindow();
    delete dialog;
    dialog = nullptr;
    Pump();
}

std::string CaptureComponentTest::ControlText(int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog->GetSafeHwnd(), id, text, sizeof text);
    return text;
}

void CaptureComponentTest::Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

LONG VcamLiveObjects()
{
    HMODULE module = GetModuleHandleA("tarnview-vcam.dll");
    if (!module)
        return -1;
    using LiveObjectsFn = LONG(WINAPI*)();
    auto live =
        reinterpret_cast<LiveObjectsFn>(reinterpret_cast<void*>(GetProcAddress(module, "VcamLiveObjects")));
    return live ? live() : -1;
}

LONG CapturePinWidth(IBaseFilter* camera)
{
    Microsoft::WRL::ComPtr<IEnumPins> pins;
    if (!camera || FAILED(camera->EnumPins(&pins)))
        return 0;
    Microsoft::WRL::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        Microsoft::WRL::ComPtr<IAMStreamConfig> config;
        if (FAILED(pin.As(&config)))
            continue;
        AM_MEDIA_TYPE* type = nullptr;
        if (FAILED(config->GetFormat(&type)) || !type)
            continue;
        LONG width = 0;
        if (type->formattype == FORMAT_VideoInfo && type->cbFormat >= sizeof(VIDEOINFOHEADER))
            width = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader.biWidth;
        CoTaskMemFree(type->pbFormat);
        if (type->pUnk)
            type->pUnk->Release();
        CoTaskMemFree(type);
        if (width)
            return width;
    }
    return 0;
}

bool GraphRuns(IGraphBuilder* graph)
{
    Microsoft::WRL::ComPtr<IMediaControl> control;
    if (!graph || FAILED(graph->QueryInterface(IID_PPV_ARGS(&control))))
        return false;
    OAFilterState state = State_Stopped;
    control->GetState(1000, &state);
    return state == State_Running;
}
