// When each frame is due, on the graph's reference clock: frame slots at
// anchor + n * interval, so rounding never accumulates into drift.
//
// A late stream either follows or skips. Samples are stamped from the moment capture
// began, which is ahead of the graph's stream time (the graph starts it later than
// Run), so a renderer holds each sample in Receive until its presentation time: that
// lead. Lateness caused by such holding moves the schedule along (the renderer paces
// the stream; skipping would only make it hold the next sample longer), at most by the
// lead. Any other stream more than two frames behind skips the slots it missed instead
// of bursting.
#pragma once

#include <windows.h>
#include <strmif.h>

class FrameSchedule
{
public:
    FrameSchedule(REFERENCE_TIME anchor, REFERENCE_TIME interval, REFERENCE_TIME lead)
        : m_anchor(anchor),
          m_interval(interval),
          m_lead(lead > 0 ? lead : 0)
    {
    }

    REFERENCE_TIME Due() const { return m_anchor + m_slot * m_interval; }
    LONGLONG Slot() const { return m_slot; }
    REFERENCE_TIME Interval() const { return m_interval; }
    // The current slot's distance from the first one on the frame grid, whatever the
    // anchor did: what the stream stamps count.
    REFERENCE_TIME Elapsed() const { return m_elapsed + m_slot * m_interval; }

    // A new interval (a changed exposure) from the slot after the last one on: the
    // slot due next comes one new interval after it.
    void Retime(REFERENCE_TIME interval)
    {
        if (m_slot > 0)
        {
            const REFERENCE_TIME done = (m_slot - 1) * m_interval;
            m_anchor += done;
            m_elapsed += done;
            m_slot = 1;
        }
        m_interval = interval;
    }

    // Moves to the next slot after a delivery finished at `now`, of which `held`
    // passed inside downstream's Receive.
    void Advance(REFERENCE_TIME now, REFERENCE_TIME held)
    {
        ++m_slot;
        const REFERENCE_TIME late = now - Due();
        if (late <= MaxCatchUp * m_interval)
            return;
        if (late <= held && late <= m_lead)
        {
            m_anchor += late;
            m_lead -= late;
            return;
        }
        m_slot = (now - m_anchor) / m_interval;
    }

    static constexpr LONGLONG MaxCatchUp = 2;

private:
    REFERENCE_TIME m_anchor;
    REFERENCE_TIME m_interval;
    REFERENCE_TIME m_lead;
    REFERENCE_TIME m_elapsed = 0;
    LONGLONG m_slot = 0;
};
