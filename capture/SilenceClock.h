// How long a count that should move (frames from the camera, bytes in the file) may
// stand still before whatever feeds it counts as stopped. A night-sky camera exposes
// for seconds per frame, so the allowance follows the frame interval the camera is set
// to, max(5 s, 3 intervals), with the camera's start-up on top until the first move.
// Silence shorter than that is only overdue: shown, not acted on.
#pragma once

#include <windows.h>
#include <strmif.h>

enum class Silence
{
    None,     // moving, or not yet later than a frame interval and a look
    Overdue,  // later than that: worth showing
    Stopped,  // past the allowance: the source counts as stopped
};

class SilenceClock
{
public:
    static constexpr DWORD kMinimumAllowanceMs = 5000;
    static constexpr DWORD kStartupMs = 5000;
    // Slack for looking once a second: a move may be seen up to a look late.
    static constexpr DWORD kLookMs = 1000;

    // frameInterval: AvgTimePerFrame (100 ns) of the running format; 0 when unknown.
    static DWORD AllowanceMs(REFERENCE_TIME frameInterval);
    static DWORD FirstMoveAllowanceMs(REFERENCE_TIME frameInterval);

    void Start(REFERENCE_TIME frameInterval, LONGLONG count, DWORD nowMs);
    // One look at the count; a count below 0 cannot be read and is not judged.
    Silence Look(LONGLONG count, DWORD nowMs);
    bool MovedAtLastLook() const { return m_movedAtLastLook; }
    DWORD LastMoveMs() const { return m_lastMoveMs; }

private:
    REFERENCE_TIME m_interval = 0;
    LONGLONG m_count = -1;
    DWORD m_lastMoveMs = 0;
    bool m_everMoved = false;
    bool m_movedAtLastLook = true;
};
