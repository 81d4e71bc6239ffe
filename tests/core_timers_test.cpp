// Software timers, periodic signals and the clock, in virtual time.
#include <gtest/gtest.h>

#include "core/DTM.h"
#include "core/SM.h"
#include "hal/HAL.h"
#include "support/Harness.h"

namespace {

constexpr std::uint32_t kHostClock = 1'767'600'000; // the harness host's local time

TEST(Timers, OneShotExpiresOnceAfterItsTicksAndRearmingRestartsIt)
{
    Harness h;
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, 3); // 100 ms ticks
    h.advance(250);
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, 3); // restart before it ran out
    h.advance(1000);
    const auto t = h.timesOf(SIG_TMR_DATA_TIMEOUT);
    ASSERT_EQ(t.size(), 1U);
    EXPECT_EQ(t[0], 500U); // ticks at 300, 400, 500 after the re-arm at 250
}

TEST(Timers, ArmingWithZeroDisarms)
{
    Harness h;
    SM_Post(DTM_Task, SIG_TMR_FAST_SET, 10);
    h.advance(50);
    SM_Post(DTM_Task, SIG_TMR_FAST_SET, 0);
    h.advance(500);
    EXPECT_TRUE(h.timesOf(SIG_TMR_FAST_TIMEOUT).empty());
}

TEST(Timers, ArmingTheHintTimerDropsAnExpiryStillWaiting)
{
    Harness h;
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, 1);
    h.advance(100); // posts the expiry at 100 ...
    SM_Post(BED_Task, 200, 0);
    // ... which we let sit in the queue: arm again before it is dispatched.
    h.clearEvents();
    SM_Post(BED_Task, SIG_TMR_HINT_TIMEOUT, 0); // a late expiry of the first arming
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, 40);
    SM_RunQueued();
    EXPECT_TRUE(h.timesOf(SIG_TMR_HINT_TIMEOUT).empty());
    h.advance(4000);
    EXPECT_EQ(h.timesOf(SIG_TMR_HINT_TIMEOUT), (std::vector<std::uint64_t>{4100}));
}

TEST(Timers, PeriodicSignalsComeEveryReloadPlusOneTicks)
{
    Harness h;
    h.advance(16000);
    EXPECT_EQ(h.timesOf(SIG_TICK_5S), (std::vector<std::uint64_t>{5100, 10200, 15300}));
    const auto keyscan = h.timesOf(SIG_TICK_KEYSCAN);
    ASSERT_GE(keyscan.size(), 3U);
    EXPECT_EQ(keyscan[0], 200U);
    EXPECT_EQ(keyscan[1], 400U);
    const auto t10 = h.timesOf(SIG_TICK_10MS);
    ASSERT_GE(t10.size(), 2U);
    EXPECT_EQ(t10[0], 200U);
    EXPECT_EQ(h.timesOf(SIG_TICK_100MS)[0], 200U);
}

TEST(Timers, ClockCountsSecondsFromTheHostAndCanBeSet)
{
    Harness h;
    EXPECT_EQ(DTM_GetSeconds(), kHostClock);
    h.advance(2500);
    EXPECT_EQ(DTM_GetSeconds(), kHostClock + 2);
    SM_Post(DTM_Task, SIG_CLOCK_SET, 1000);
    h.advance(1000);
    EXPECT_EQ(DTM_GetSeconds(), 1001U);
    EXPECT_EQ(DTM_Milliseconds(), 3500U);
}

TEST(Timers, RestartAtThreeKeepsClockAndWaitingTimersOthersAreCleared)
{
    Harness h;
    SM_Post(DTM_Task, SIG_CLOCK_SET, 5000);
    SM_Post(DTM_Task, SIG_TMR_WAIT_SET, 30);
    SM_Post(DTM_Task, SIG_TMR_START_SET, 35);
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, 30);
    SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, 30);
    h.advance(1000);
    // A new start of the timer task, as the main task makes after a restart.
    SM_Post(DTM_Task, SIG_TIMERS_OFF, 0);
    SM_RunQueued();
    __disable_interrupt();
    SM_TaskCtor(DTM_Task);
    SM_TaskStart(DTM_Task, DTM_TimerTask, 2);
    __enable_interrupt();
    SM_Post(DTM_Task, SIG_TIMERS_ON, 0);
    h.clearEvents();
    h.advance(3000);
    EXPECT_EQ(h.timesOf(SIG_TMR_WAIT_TIMEOUT), (std::vector<std::uint64_t>{3000}));
    EXPECT_EQ(h.timesOf(SIG_TMR_START_TIMEOUT), (std::vector<std::uint64_t>{3500}));
    EXPECT_TRUE(h.timesOf(SIG_TMR_DATA_TIMEOUT).empty());
    EXPECT_TRUE(h.timesOf(SIG_TMR_LIGHT_TIMEOUT).empty());
    EXPECT_EQ(DTM_GetSeconds(), 5004U);
    // The 5 s tick starts its count again: 5.1 s after the restart, not
    // 5.1 s after the first start.
    h.advance(3000);
    EXPECT_EQ(h.timesOf(SIG_TICK_5S), (std::vector<std::uint64_t>{6100}));
}

TEST(Timers, OtherStartsReadTheClockFromTheHostAgain)
{
    Harness h;
    SM_Post(DTM_Task, SIG_CLOCK_SET, 5000);
    h.advance(100);
    SM_Post(DTM_Task, SIG_TIMERS_OFF, 0);
    SM_RunQueued();
    __disable_interrupt();
    SM_TaskCtor(DTM_Task);
    SM_TaskStart(DTM_Task, DTM_TimerTask, 3);
    __enable_interrupt();
    EXPECT_EQ(DTM_GetSeconds(), kHostClock);
}

} // namespace
