// Notices a recording whose camera has gone silent without any graph event (a driver
// that hangs, a cable pulled on a camera that does not say so, a writer that refuses
// frames). One look per timer tick at how many frames the camera has sent, from
// IAMDroppedFrames::GetNumNotDropped on its capture pin; for a camera without that
// interface, at the size of the file being written.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

class RecordingWatch
{
public:
    // Ticks without progress after which a flowing recording counts as silent: at one
    // look a second, silence is noticed two to three seconds after the last frame.
    static constexpr int kSilentTicks = 2;
    // A camera may take a while to send its first frame.
    static constexpr int kStartupTicks = 5;

    // frameInterval: the capture format's AvgTimePerFrame (100 ns), 0 when unknown.
    void Start(Microsoft::WRL::ComPtr<IAMDroppedFrames> frameCounter, REFERENCE_TIME frameInterval,
               const char* path, DWORD startMs);
    void Stop();
    bool Active() const { return m_active; }

    // One look; true once nothing has moved for kSilentTicks looks in a row.
    bool Silent(DWORD nowMs);
    // How much the file holds: the frames the camera sent times their duration where
    // both are known; otherwise, for a silent recording, up to the last look that saw
    // progress, and for one still running, up to nowMs.
    DWORD KeptMs(DWORD nowMs) const;
    // Why a silent recording stopped: a full disk where the file is written, or the camera.
    std::string SilenceCause() const;

private:
    LONGLONG Progress() const;

    bool m_active = false;
    Microsoft::WRL::ComPtr<IAMDroppedFrames> m_frameCounter;
    REFERENCE_TIME m_frameInterval = 0;
    std::string m_path;
    DWORD m_startMs = 0;
    DWORD m_lastProgressMs = 0;
    LONGLONG m_lastProgress = -1;
    bool m_flowing = false;
    int m_idleTicks = 0;
    bool m_silent = false;
};
