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
    m_lastProgress = Progress();
    m_flowing = false;
    m_idleTicks = 0;
    m_silent = false;
}

void RecordingWatch::Stop()
{
    m_active = false;
    m_frameCounter.Reset();
}

LONGLONG RecordingWatch::Progress() const
{
    long frames = 0;
    if (m_frameCounter && SUCCEEDED(m_frameCounter->GetNumNotDropped(&frames)))
        return frames;
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!GetFileAttributesExA(m_path.c_str(), GetFileExInfoStandard, &file))
        return -1;
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow);
}

bool RecordingWatch::Silent(DWORD nowMs)
{
    if (!m_active)
        return false;
    const LONGLONG progress = Progress();
    if (progress > m_lastProgress)
    {
        m_lastProgress = progress;
        m_lastProgressMs = nowMs;
        m_flowing = true;
        m_idleTicks = 0;
        return false;
    }
    // Nothing to measure by: no judgement either.
    if (progress < 0)
        return false;
    ++m_idleTicks;
    m_silent = m_idleTicks >= (m_flowing ? kSilentTicks : kStartupTicks);
    return m_silent;
}

DWORD RecordingWatch::KeptMs(DWORD nowMs) const
{
    long frames = 0;
    if (m_frameCounter && m_frameInterval > 0 && SUCCEEDED(m_frameCounter->GetNumNotDropped(&frames)))
        return static_cast<DWORD>(frames * m_frameInterval / 10000);
    return (m_silent ? m_lastProgressMs : nowMs) - m_startMs;
}

std::string RecordingWatch::SilenceCause() const
{
    ULARGE_INTEGER available{};
    const std::string folder = FolderOf(m_path);
    if (GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &available, nullptr, nullptr) &&
        available.QuadPart < kFullDiskBytes)
        return FailureCauseText(HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    return kCameraStoppedText;
}
