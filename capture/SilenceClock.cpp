#include "capture/SilenceClock.h"

#include <algorithm>

namespace
{
// Beyond any exposure a camera offers; keeps three intervals inside a DWORD.
constexpr REFERENCE_TIME kLongestIntervalMs = 3600 * 1000;

DWORD IntervalMs(REFERENCE_TIME frameInterval)
{
    return static_cast<DWORD>(std::clamp<REFERENCE_TIME>(frameInterval / 10000, 0, kLongestIntervalMs));
}
}  // namespace

DWORD SilenceClock::AllowanceMs(REFERENCE_TIME frameInterval)
{
    return std::max(kMinimumAllowanceMs, 3 * IntervalMs(frameInterval));
}

DWORD SilenceClock::FirstMoveAllowanceMs(REFERENCE_TIME frameInterval)
{
    return AllowanceMs(frameInterval) + kStartupMs;
}

void SilenceClock::Start(REFERENCE_TIME frameInterval, LONGLONG count, DWORD nowMs)
{
    m_interval = frameInterval;
    m_count = count;
    m_lastMoveMs = nowMs;
    m_everMoved = false;
    m_movedAtLastLook = true;
}

Silence SilenceClock::Look(LONGLONG count, DWORD nowMs)
{
    const bool moved = count < 0 || count > m_count;
    m_count = count;
    m_movedAtLastLook = moved;
    if (moved)
    {
        m_lastMoveMs = nowMs;
        m_everMoved = m_everMoved || count >= 0;
        return Silence::None;
    }
    const DWORD silentMs = nowMs - m_lastMoveMs;
    if (silentMs >= (m_everMoved ? AllowanceMs(m_interval) : FirstMoveAllowanceMs(m_interval)))
        return Silence::Stopped;
    return silentMs > IntervalMs(m_interval) + kLookMs ? Silence::Overdue : Silence::None;
}
