// When each frame is due, on the graph's reference clock: frame slots at
// anchor + n * interval, so rounding never accumulates into drift. A stream that
// fell more than two frames behind skips the slots it missed instead of bursting.
#pragma once

#include <windows.h>
#include <strmif.h>

class FrameSchedule
{
public:
    FrameSchedule(REFERENCE_TIME anchor, REFERENCE_TIME interval) : m_anchor(anchor), m_interval(interval) {}

    REFERENCE_TIME Due() const { return m_anchor + m_slot * m_interval; }
    REFERENCE_TIME Interval() const { return m_interval; }

    // Moves to the next slot after a delivery finished at `now`; when that slot is
    // already more than MaxCatchUp intervals in the past, moves to the slot `now` falls in.
    void Advance(REFERENCE_TIME now)
    {
        ++m_slot;
        if (now - Due() > MaxCatchUp * m_interval)
            m_slot = (now - m_anchor) / m_interval;
    }

    static constexpr LONGLONG MaxCatchUp = 2;

private:
    REFERENCE_TIME m_anchor;
    REFERENCE_TIME m_interval;
    LONGLONG m_slot = 0;
};
