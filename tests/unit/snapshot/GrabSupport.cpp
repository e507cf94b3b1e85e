#include "ui/DialogMessages.h"

#include "GrabSupport.h"

#include <thread>

#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBuffer.h"

void ResetGrabBuffer()
{
    ReleaseGrabBlock();
    GrabBuffer.grabPending.store(0);
    GrabBuffer.frameCapacity = 0;
    GrabBuffer.frameLength = 0;
    GrabBuffer.frameWidth = 0;
    GrabBuffer.frameHeight = 0;
    GrabBuffer.haveStill = 0;
    GrabBuffer.ownerDialog = nullptr;
    GrabBuffer.ownerWindow = nullptr;
    GrabBuffer.snapDirectory[0] = GrabBuffer.snapBaseName[0] = GrabBuffer.lastStillPath[0] = '\0';
    GrabBuffer.lastStillHeader = BITMAPINFOHEADER{};
}

FrameGrabbedSink::FrameGrabbedSink()
    : m_window(CreateWindowExA(0, "STATIC", "sink", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr))
{
}

FrameGrabbedSink::~FrameGrabbedSink()
{
    Drain();
    DestroyWindow(m_window);
}

int FrameGrabbedSink::Drain()
{
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, m_window, WM_FRAME_GRABBED, WM_FRAME_GRABBED, PM_REMOVE))
        ++count;
    return count;
}

bool FrameGrabbedSink::WaitForOne(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < timeoutMs)
    {
        if (PeekMessageA(&msg, m_window, WM_FRAME_GRABBED, WM_FRAME_GRABBED, PM_REMOVE))
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
    return false;
}

HRESULT DeliverFrame(BYTE* buffer, LONG length)
{
    HRESULT hr = E_UNEXPECTED;
    std::thread streaming([&] { hr = FrameGrabCallback.BufferCB(0.0, buffer, length); });
    streaming.join();
    return hr;
}

std::vector<BYTE> UniformFrame(LONG length, BYTE value)
{
    return std::vector<BYTE>(static_cast<size_t>(length), value);
}

ScratchFolder::ScratchFolder()
{
    static int serial = 0;
    m_path = "Z:\\tmp\\tarnview-snap-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++serial) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::vector<BYTE> ReadWholeFile(const std::string& path)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
