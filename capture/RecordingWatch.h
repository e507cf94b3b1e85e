// Notices a recording that stopped without any graph event: a camera gone silent (a
// driver that hangs, a cable pulled on a camera that does not say so), a file that no
// longer grows (a writer that fails quietly), or a disk that filled. One look per
// timer tick at how many frames the camera has sent, from
// IAMDroppedFrames::GetNumNotDropped on its capture pin, and at the size of the file,
// each judged by a SilenceClock: long exposures and short stalls are not faults.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "capture/SilenceClock.h"

class RecordingWatch
{
public:
    // frameCounter may be null (a camera without the interface); frameInterval is the
    // capture format's AvgTimePerFrame (100 ns), 0 when unknown.
    void Start(Microsoft::WRL::ComPtr<IAMDroppedFrames> frameCounter, REFERENCE_TIME frameInterval,
               const char* path, DWORD startMs);
    void Stop();
    bool Active() const { return m_active; }

    // One look. Stopped: the recording should end (SilenceCause says why); Overdue:
    // frames or the disk are awaited longer than usual (CameraOverdue says which).
    Silence Look(DWORD nowMs);
    bool CameraOverdue() const { return !m_camera.MovedAtLastLook(); }
    // How much the file holds: the frames the camera sent times their duration while
    // the camera is what stopped (or still runs); up to the file's last growth when the
    // file stopped while the camera went on; otherwise up to nowMs.
    DWORD KeptMs(DWORD nowMs) const;
    // Why a silent recording stopped: a full disk, the camera, or the writing.
    std::string SilenceCause() const;

private:
    LONGLONG CameraFrames() const;
    LONGLONG FileBytes() const;
    bool DiskFull() const;

    bool m_active = false;
    Microsoft::WRL::ComPtr<IAMDroppedFrames> m_frameCounter;
    REFERENCE_TIME m_frameInterval = 0;
    std::string m_path;
    DWORD m_startMs = 0;
    SilenceClock m_camera;
    SilenceClock m_file;
    bool m_diskFull = false;
};
