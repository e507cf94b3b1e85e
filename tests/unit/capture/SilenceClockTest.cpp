// When a count that stands still is only late, and when its source counts as stopped.
#include <gtest/gtest.h>

#include "capture/SilenceClock.h"

namespace
{
constexpr REFERENCE_TIME kThirtyFps = 333333;
constexpr REFERENCE_TIME kFourSeconds = 40000000;

TEST(SilenceClock, AllowanceIsFiveSecondsOrThreeIntervals)
{
    struct Case
    {
        REFERENCE_TIME interval;
        DWORD allowanceMs;
    } cases[] = {
        {0, 5000}, {kThirtyFps, 5000}, {10000000, 5000}, {kFourSeconds, 12000}, {100000000, 30000},
        {-1, 5000},  // a broken format
        {0x7fffffffffffffffLL, 3 * 3600 * 1000},  // no overflow
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.allowanceMs, SilenceClock::AllowanceMs(c.interval)) << c.interval;
        EXPECT_EQ(c.allowanceMs + SilenceClock::kStartupMs, SilenceClock::FirstMoveAllowanceMs(c.interval));
    }
}

// Looks once a second, as the dialog's timer does: each step is (count, ms since the
// start, verdict expected).
struct Step
{
    LONGLONG count;
    DWORD atMs;
    Silence expected;
};

void Walk(REFERENCE_TIME interval, std::initializer_list<Step> steps)
{
    SilenceClock clock;
    const DWORD start = 0xFFFFF000;  // the tick count wraps during the walk
    clock.Start(interval, 0, start);
    for (const Step& step : steps)
        EXPECT_EQ(step.expected, clock.Look(step.count, start + step.atMs))
            << "count " << step.count << " at " << step.atMs << " ms";
}

constexpr Silence None = Silence::None, Overdue = Silence::Overdue, Stopped = Silence::Stopped;

TEST(SilenceClock, AFlowingCameraThatStopsIsStoppedAfterFiveSeconds)
{
    Walk(kThirtyFps, {{30, 1000, None}, {60, 2000, None}, {60, 3000, None}, {60, 4000, Overdue},
                      {60, 6000, Overdue}, {60, 7000, Stopped}});
}

TEST(SilenceClock, AFourSecondExposureIsNeverStopped)
{
    Walk(kFourSeconds, {{0, 1000, None}, {0, 4000, None}, {1, 5000, None}, {1, 8000, None}, {2, 9000, None},
                        {2, 12000, None}, {3, 13000, None}});
}

TEST(SilenceClock, AFourSecondExposureThatStopsIsStoppedAfterTwelveSeconds)
{
    Walk(kFourSeconds, {{1, 1000, None}, {1, 6000, None}, {1, 7000, Overdue}, {1, 12000, Overdue},
                        {1, 13000, Stopped}});
}

TEST(SilenceClock, TheFirstMoveGetsTheStartUpOnTop)
{
    // A first frame six seconds late, then frames flowing.
    Walk(kThirtyFps, {{0, 3000, Overdue}, {0, 6000, Overdue}, {25, 7000, None}, {55, 8000, None}});
    // None at all: stopped after the allowance and the start-up.
    Walk(kThirtyFps, {{0, 9000, Overdue}, {0, 10000, Stopped}});
}

TEST(SilenceClock, AnUnreadableCountIsNotJudged)
{
    Walk(kThirtyFps, {{-1, 1000, None}, {-1, 20000, None}, {-1, 40000, None}});
}

TEST(SilenceClock, ACountThatGoesBackIsNoMove)
{
    Walk(kThirtyFps, {{30, 1000, None}, {10, 3000, Overdue}, {10, 6000, Stopped}});
}
}  // namespace
