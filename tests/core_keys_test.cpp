// The key task's timing, exact to the tick, in virtual time.
#include <gtest/gtest.h>

#include "core/KEY.h"
#include "core/SM.h"
#include "support/Harness.h"

namespace {

class Keys : public ::testing::Test {
  protected:
    void press(std::uint8_t raw) { h.host().keys().setRaw(raw); }
    void release() { h.host().keys().setRaw(0); }
    std::vector<std::uint16_t> signals()
    {
        std::vector<std::uint16_t> s;
        for (const Recorded& r : h.events()) {
            if (r.sig < SIG_TICK_5S) {
                s.push_back(r.sig);
            }
        }
        return s;
    }
    std::vector<std::uint32_t> parsOf(std::uint16_t sig)
    {
        std::vector<std::uint32_t> p;
        for (const Recorded& r : h.events()) {
            if (r.sig == sig) {
                p.push_back(r.par);
            }
        }
        return p;
    }
    Harness h;
};

// Scans run every 20 ms; a key pressed just after the scan at 1000 ms is
// sampled at 1020 and 1040 and reported at 1040.
TEST_F(Keys, RepeatKeyReportsAtZeroThenAfter800ThenEvery400)
{
    h.advance(1000);
    h.clearEvents();
    press(0x08);
    h.advance(2500);
    const auto t = h.timesOf(SIG_KEY_UP);
    ASSERT_GE(t.size(), 5U);
    EXPECT_EQ(t[1] - t[0], 800U);
    EXPECT_EQ(t[2] - t[1], 400U);
    EXPECT_EQ(t[3] - t[2], 400U);
    EXPECT_EQ(t[4] - t[3], 400U);
    EXPECT_EQ(parsOf(SIG_KEY_UP), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(h.timesOf(SIG_KEY_ANY), t); // every report is preceded by "any key"
    release();
    h.advance(100);
    EXPECT_EQ(h.timesOf(SIG_KEY_UP_RELEASE).size(), 1U);
    EXPECT_EQ(h.timesOf(SIG_KEY_RELEASED).size(), 1U);
}

TEST_F(Keys, AccelerationShortensTheRepeatDownToFullSpeed)
{
    SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 15); // rate 240
    h.advance(1000);
    h.clearEvents();
    press(0x10);
    h.advance(8000);
    const auto t = h.timesOf(SIG_KEY_DOWN);
    ASSERT_GE(t.size(), 8U);
    // 800 to the first repeat, 400 to the second, then 370, 350, 330 ...
    EXPECT_EQ(t[1] - t[0], 800U);
    EXPECT_EQ(t[2] - t[1], 400U);
    EXPECT_EQ(t[3] - t[2], 370U);
    EXPECT_EQ(t[4] - t[3], 350U);
    EXPECT_EQ(t[5] - t[4], 330U);
    EXPECT_EQ(t.back() - t[t.size() - 2], 100U);
    const auto fast = parsOf(SIG_KEY_FAST_REPEAT);
    ASSERT_EQ(fast.size(), 1U);
    EXPECT_EQ(fast[0], 10U);
}

TEST_F(Keys, MenuOkReportsOnceAfterFourSecondsHeld)
{
    h.advance(1000);
    h.clearEvents();
    press(0xA0);
    h.advance(3990);
    EXPECT_TRUE(h.timesOf(SIG_KEY_MENU_OK).empty());
    h.advance(3000);
    EXPECT_EQ(h.timesOf(SIG_KEY_MENU_OK).size(), 1U);
    const auto t = h.timesOf(SIG_KEY_MENU_OK)[0];
    EXPECT_EQ(t, 1040U + 4000);
    release();
    h.advance(100);
    EXPECT_EQ(signals().back(), SIG_KEY_MENU_OK_RELEASE);
}

TEST_F(Keys, CombinationReleasedEarlyReportsOnlyItsRelease)
{
    h.advance(1000);
    h.clearEvents();
    press(0x21); // OK+BACK, 2 s
    h.advance(1500);
    release();
    h.advance(3000);
    EXPECT_EQ(signals(), (std::vector<std::uint16_t>{SIG_KEY_RELEASED, SIG_KEY_OK_BACK_RELEASE}));
}

TEST_F(Keys, UpThenOkGivesOkUpAndOneReleaseOfTheCombination)
{
    h.advance(1000);
    h.clearEvents();
    press(0x08);
    h.advance(100);
    press(0x28);
    h.advance(100);
    press(0x20); // one key of the combination let go: nothing changes
    h.advance(100);
    release();
    h.advance(100);
    EXPECT_EQ(signals(), (std::vector<std::uint16_t>{SIG_KEY_ANY, SIG_KEY_UP, SIG_KEY_ANY, SIG_KEY_OK_UP,
                                                     SIG_KEY_RELEASED, SIG_KEY_OK_UP_RELEASE}));
}

TEST_F(Keys, UpWithDownIsIgnoredAndUpKeepsRepeating)
{
    h.advance(1000);
    h.clearEvents();
    press(0x08);
    h.advance(100);
    press(0x18);
    h.advance(2000);
    EXPECT_EQ(h.timesOf(SIG_KEY_UP).size(), 5U); // 1040, 1840, 2240, 2640, 3040 ms
    EXPECT_TRUE(h.timesOf(SIG_KEY_DOWN).empty());
    EXPECT_TRUE(h.timesOf(SIG_KEY_UP_RELEASE).empty());
}

TEST_F(Keys, ClickShorterThanTheMainLoopStillReportsPressAndRelease)
{
    h.advance(1000);
    h.clearEvents();
    // 50 ms click with nothing dispatched meanwhile, as within one main-loop
    // cycle: both raw reports wait in the key task's queue together.
    press(0x20);
    h.advanceWithoutDispatch(50);
    release();
    h.advanceWithoutDispatch(50);
    SM_RunQueued();
    EXPECT_EQ(signals(), (std::vector<std::uint16_t>{SIG_KEY_ANY, SIG_KEY_OK, SIG_KEY_RELEASED, SIG_KEY_OK_RELEASE}));
}

TEST_F(Keys, FlushDropsWaitingKeyReportsOfTheScreenTask)
{
    h.advance(1000);
    SM_Post(BED_Task, SIG_KEY_OK, 0);
    SM_Post(BED_Task, SIG_TICK_5S, 0);
    SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
    h.clearEvents();
    SM_RunQueued();
    EXPECT_TRUE(h.timesOf(SIG_KEY_OK).empty());
    EXPECT_EQ(h.timesOf(SIG_TICK_5S).size(), 1U);
}

TEST(KeyDecode, KnownPatternsOnly)
{
    EXPECT_EQ(KEY_Decode(0x00), KEY_NONE);
    EXPECT_EQ(KEY_Decode(0x28), KEY_OK_UP);
    EXPECT_EQ(KEY_Decode(0x90), KEY_MENU_DOWN);
    EXPECT_EQ(KEY_Decode(0x18), KEY_INVALID);
}

} // namespace
