#include "capture/RecordingWatch.h"

#include "capture/GraphEventText.h"

namespace
{
// Less room than this left on the file's volume counts as a full disk.
constexpr ULONGLONG kFullDiskBytes = 4ull << 20;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
}  // namespace

void RecordingWatch::Start(Microsoft::WRL::ComPtr<IAMDroppedFrames> frameCounter,
                           REFERENCE_TIME frameInterval, const char* path, DWORD startMs)
{
    m_active = true;
    m_frameCounter = std::move(frameCounter);
    m_frameInterval = frameInterval;
    m_path = path ? path : "";
    m_startMs = startMs;
    m_camera.Start(frameInterval, CameraFrames(), startMs);
    m_file.Start(frameInterval, FileBytes(), startMs);
    m_diskFull = false;
}

void RecordingWatch::Stop()
{
    m_active = false;
    m_frameCounter.Reset();
}

LONGLONG RecordingWatch::CameraFrames() const
{
    long frames = 0;
    if (m_frameCounter && SUCCEEDED(m_frameCounter->GetNumNotDropped(&frames)))
        return frames;
    return -1;
}

// Through a handle of our own: a directory entry may not show the size of a file that
// is open for writing.
LONGLONG RecordingWatch::FileBytes() const
{
    HANDLE file = CreateFileA(m_path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    LARGE_INTEGER size{};
    const BOOL known = GetFileSizeEx(file, &size);
    CloseHandle(file);
    return known ? size.QuadPart : -1;
}

bool RecordingWatch::DiskFull() const
{
    ULARGE_INTEGER available{};
    const std::string folder = FolderOf(m_path);
    return GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &available, nullptr, nullptr) &&
           available.QuadPart < kFullDiskBytes;
}

Silence RecordingWatch::Look(DWORD nowMs)
{
    if (!m_active)
        return Silence::None;
    const Silence camera = m_camera.Look(CameraFrames(), nowMs);
    const Silence file = m_file.Look(FileBytes(), nowMs);
    // A file that stands still on a disk with no room left will not grow again.
    m_diskFull = file != Silence::None && DiskFull();
    if (m_diskFull || camera == Silence::Stopped || file == Silence::Stopped)
        return Silence::Stopped;
    return camera == Silence::Overdue || file == Silence::Overdue ? Silence::Overdue : Silence::None;
}

DWORD RecordingWatch::KeptMs(DWORD nowMs) const
{
    const bool cameraStalled = !m_camera.MovedAtLastLook();
    if (!m_file.MovedAtLastLook() && !cameraStalled)
        return m_file.LastMoveMs() - m_startMs;
    const LONGLONG frames = CameraFrames();
    if (frames >= 0 && m_frameInterval > 0)
        return static_cast<DWORD>(frames * m_frameInterval / 10000);
    return (cameraStalled ? m_camera.LastMoveMs() : nowMs) - m_startMs;
}

std::string RecordingWatch::SilenceCause() const
{
    if (m_diskFull || DiskFull())
        return FailureCauseText(HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    return !m_camera.MovedAtLastLook() ? kCameraStoppedText : kWritingStoppedText;
}
