// Notices a recording that stopped without any graph event: a camera gone silent (a
// driver that hangs, a cable pulled on a camera that does not say so) or a file that
// no longer grows (a writer that fails quietly, as Wine's AVI mux does on a full disk).
// One look per timer tick at how many frames the camera has sent, from
// IAMDroppedFrames::GetNumNotDropped on its capture pin, and at the size of the file.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

class RecordingWatch
{
public:
    // Looks without progress after which a flowing recording counts as stopped: at one
    // look a second, that is noticed two to three seconds after the last frame.
    static constexpr int kSilentTicks = 2;
    // A camera may take a while to send its first frame.
    static constexpr int kStartupTicks = 5;

    // frameCounter may be null (a camera without the interface); frameInterval is the
    // capture format's AvgTimePerFrame (100 ns), 0 when unknown.
    void Start(Microsoft::WRL::ComPtr<IAMDroppedFrames> frameCounter, REFERENCE_TIME frameInterval,
               const char* path, DWORD startMs);
    void Stop();
    bool Active() const { return m_active; }

    // One look; true once the camera or the file has not moved for kSilentTicks looks.
    bool Silent(DWORD nowMs);
    // How much the file holds: the frames the camera sent times their duration while
    // the camera is what stopped (or still runs); up to the file's last growth when the
    // file stopped while the camera went on; otherwise up to nowMs.
    DWORD KeptMs(DWORD nowMs) const;
    // Why a silent recording stopped: a full disk, the camera, or the writing.
    std::string SilenceCause() const;

private:
    LONGLONG CameraFrames() const;
    LONGLONG FileBytes() const;

    bool m_active = false;
    Microsoft::WRL::ComPtr<IAMDroppedFrames> m_frameCounter;
    REFERENCE_TIME m_frameInterval = 0;
    std::string m_path;
    DWORD m_startMs = 0;
    DWORD m_lastProgressMs = 0;
    LONGLONG m_lastFrames = -1;
    LONGLONG m_lastBytes = -1;
    bool m_flowing = false;
    int m_idleTicks = 0;
    bool m_cameraStalled = false;
    bool m_fileStalled = false;
};
