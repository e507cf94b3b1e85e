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
    m_lastProgressMs = startMs;
    m_lastFrames = CameraFrames();
    m_lastBytes = FileBytes();
    m_flowing = false;
    m_idleTicks = 0;
    m_cameraStalled = false;
    m_fileStalled = false;
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

bool RecordingWatch::Silent(DWORD nowMs)
{
    if (!m_active)
        return false;
    const LONGLONG frames = CameraFrames();
    const LONGLONG bytes = FileBytes();
    // Nothing to measure by: no judgement either.
    if (frames < 0 && bytes < 0)
        return false;
    const bool cameraMoved = frames < 0 || frames > m_lastFrames;
    const bool fileMoved = bytes < 0 || bytes > m_lastBytes;
    m_lastFrames = frames;
    m_lastBytes = bytes;
    if (cameraMoved && fileMoved)
    {
        m_lastProgressMs = nowMs;
        m_flowing = true;
        m_idleTicks = 0;
        m_cameraStalled = false;
        m_fileStalled = false;
        return false;
    }
    ++m_idleTicks;
    m_cameraStalled = !cameraMoved;
    m_fileStalled = !fileMoved;
    return m_idleTicks >= (m_flowing ? kSilentTicks : kStartupTicks);
}

DWORD RecordingWatch::KeptMs(DWORD nowMs) const
{
    if (m_fileStalled && !m_cameraStalled)
        return m_lastProgressMs - m_startMs;
    const LONGLONG frames = CameraFrames();
    if (frames >= 0 && m_frameInterval > 0)
        return static_cast<DWORD>(frames * m_frameInterval / 10000);
    return (m_cameraStalled ? m_lastProgressMs : nowMs) - m_startMs;
}

std::string RecordingWatch::SilenceCause() const
{
    ULARGE_INTEGER available{};
    const std::string folder = FolderOf(m_path);
    if (GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &available, nullptr, nullptr) &&
        available.QuadPart < kFullDiskBytes)
        return FailureCauseText(HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    return m_cameraStalled ? kCameraStoppedText : kWritingStoppedText;
}
